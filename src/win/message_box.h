#pragma once
// Message boxes of the program, answered by the user or by an installed
// responder (responder.h).
#include <windows.h>

#include <string_view>

// Windows names its function-like macro MessageBox; the toolkit's own
// operation carries that name, so the macro must not rewrite it.
#undef MessageBox

namespace plaxet {

// Shows `text` under `title` with the buttons and icon of `style` (MB_...)
// and returns the id of the button pressed (IDOK, IDYES, ...).
int MessageBox(std::string_view text, std::string_view title, unsigned style);
// The same over `owner`, which the box is centred on and which a test's
// responder is told of (a dialog's own question).
int MessageBox(HWND owner, std::string_view text, std::string_view title, unsigned style);

} // namespace plaxet
