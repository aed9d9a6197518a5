#pragma once
// The main window: the whole form editor in one fixed-size window, made
// from its layout table, with the event procedure that hands its commands
// to their handlers.
#include <windows.h>

#include "win/forms.h"
#include "ui/main_window_state.h"

namespace plaxet {

// Creates the window with all its controls, not yet shown and not yet
// initialised; null when the window cannot be made.
HWND createMainWindow(MainWindow& main);
// The window's event procedure (initialisation, commands, closing).
EventProcedure mainWindowProcedure(MainWindow& main);
// The whole run: creates, initialises and shows the window and returns once
// it has been closed.
void runMainWindow(MainWindow& main);

} // namespace plaxet
