#pragma once
// The File menu's commands on the form file, closing the main window with
// its confirmation, and opening a form named on the command line.
#include "ui/main_window_state.h"

namespace plaxet {

void newForm(MainWindow& main);
void openForm(MainWindow& main);
void saveForm(MainWindow& main);
// Writes the form into its current file without asking. True when it is
// saved or had no items to save; a failure is reported and gives false.
bool saveIntoCurrentFile(MainWindow& main);
// The save dialog, then the save; true when the form is saved (or had
// nothing to save), false when the dialog was cancelled or the save failed.
bool saveFormAs(MainWindow& main);

// The close command (close box, File > Exit, the escape key): asks what the
// form's state calls for and closes the window unless the user keeps it or
// the form could not be saved.
void confirmClose(MainWindow& main);

// The user is logging off or the system is shutting down: a changed form
// gets the close box's save question. True when the session may end; Cancel,
// or a save that did not happen, keeps it (and the form) going.
bool allowSessionEnd(MainWindow& main);
// The session is ending for certain: the window goes without a question.
void endSession(MainWindow& main);

// At start: the command line's text without its double quotes names a form
// file; when that file exists it is loaded and shown, unchanged.
void openFormAtStart(MainWindow& main);

} // namespace plaxet
