#pragma once
// Operations on a status bar control of a form.
#include <windows.h>

#include <string_view>
#include <vector>

namespace plaxet {

// The parts end at these right edges (layout pixels; -1 reaches the end).
void StatusBarSetParts(HWND form, int id, const std::vector<int>& rightEdges);
// Sets the text of part `part`, counted from 1.
void StatusBarSetText(HWND form, int id, int part, std::string_view text);

} // namespace plaxet
