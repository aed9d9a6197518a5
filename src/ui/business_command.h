#pragma once
// The Business Details command: the business details dialog on business.json
// as it is on the disk; Ok saves the new details there and hands them to the
// documents.
#include <windows.h>

#include "ui/main_window_state.h"

namespace plaxet {

// Returns once the dialog is closed; `owner` is the window the dialog opens
// over (the main window, or the sender dialog). A business.json that cannot
// be read is named with what is wrong, and the dialog is not opened, so that
// the file is never written over with empty details.
void editBusinessDetails(MainWindow& main, HWND owner);

} // namespace plaxet
