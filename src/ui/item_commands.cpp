#include "ui/item_commands.h"

#include "ui/control_ids.h"
#include "ui/item_rows.h"
#include "win/controls.h"

namespace plaxet {

void runRowCommand(MainWindow& main, int command) {
    // Outside the cells there is no row to act on; beyond the items in use
    // there is no item, and deleting there would drop the count below the
    // last item (or below 0) and so lose an item's cost.
    const int row = focusedCell(main).row;
    if (row == 0) return;
    RowCommand which{};
    switch (command) {
    case kClearItemCommand:
        which = RowCommand::Clear;
        break;
    case kInsertItemCommand:
        which = RowCommand::Insert;
        break;
    case kDeleteItemCommand:
        which = RowCommand::Delete;
        break;
    default:
        return;
    }
    const GridUpdate update = applyRowCommand(main.grid, main.form, main.editor, row, which);
    if (!update.rows) return; // no item there
    showGrid(main, update);
    ControlSetFocus(main.window, kDateColumn + row);
}

} // namespace plaxet
