#pragma once
// Every command of the main window (its controls, its menus and the escape
// key) reaches one dispatch by its id.
#include "ui/main_window_state.h"

namespace plaxet {

// Runs the handler of `id` with the control's notification code; an id
// without a handler does nothing. False when the id has no handler.
bool runCommand(MainWindow& main, int id, int notification);

// A private message of the main window: the date box asks for the focus
// back after it was left holding an invalid date.
inline constexpr UINT kReturnToDateBox = WM_APP + 1;
void returnToDateBox(MainWindow& main);

} // namespace plaxet
