#include "win/status_bar.h"

#include <commctrl.h>

#include <string>

#include "win/controls.h"
#include "win/forms.h"
#include "runtime/wide.h"

namespace plaxet {

void StatusBarSetParts(HWND form, int id, const std::vector<int>& rightEdges) {
    std::vector<int> edges = rightEdges; // the message takes a non-const array
    for (int& edge : edges)
        if (edge >= 0) edge = FormScale(form, edge);
    ControlSend(form, id, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBarSetText(HWND form, int id, int part, std::string_view text) {
    if (part < 1) return;
    const std::wstring wide = toWide(text);
    ControlSend(form, id, SB_SETTEXTW, static_cast<WPARAM>(part - 1),
                reinterpret_cast<LPARAM>(wide.c_str()));
}

} // namespace plaxet
