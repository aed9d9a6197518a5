#pragma once
// The Sender command of the main window: the sender dialog on the form's
// lines; Ok puts the new lines into the form and, when the user wants them
// kept, into the sender file.
#include "ui/main_window_state.h"

namespace plaxet {

// Returns once the dialog is closed. Typing in a line counts as a change of
// the form, whether the lines are taken or not.
void editSender(MainWindow& main);

} // namespace plaxet
