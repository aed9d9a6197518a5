#pragma once
// The row commands Clear item, Insert item and Delete item, from the Edit
// menu or the cells' popup menu.
#include "ui/main_window_state.h"

namespace plaxet {

// Acts on the item of the focused cell's row; does nothing when the focus
// is not in an item cell or that row holds no item in use.
void runRowCommand(MainWindow& main, int command);

} // namespace plaxet
