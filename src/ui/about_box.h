#pragma once
// The About box: the product's name, version and credit, with an e-mail
// link and a web link that the desktop shell opens.
#include <windows.h>

namespace plaxet {

// Shows the box, modal over `owner`, and returns once it is closed.
void showAbout(HWND owner);

} // namespace plaxet
