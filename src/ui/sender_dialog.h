#pragma once
// The sender dialog: the six letterhead lines, edited in a modal dialog over
// the main window and, when the user wishes, saved in the sender file.
#include "ui/main_window_state.h"

namespace plaxet {

// The ids of the dialog's six line boxes are this plus the line number.
inline constexpr int kSenderLineBoxBase = 420;

// Opens the dialog and returns once it is closed. Only its Ok button puts
// the lines into the form; typing in a line counts as a change of the form.
void editSender(MainWindow& main);

} // namespace plaxet
