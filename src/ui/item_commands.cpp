#include "ui/item_commands.h"

#include "win/controls.h"
#include "ui/control_ids.h"
#include "ui/item_rows.h"

namespace plaxet {

void runRowCommand(MainWindow& main, int command) {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != main.window) return;
    const int row = cellPlace(GetDlgCtrlID(focus)).row;
    // Outside the cells there is no row to act on; beyond the items in use
    // there is no item, and deleting there would drop the count below the
    // last item (or below 0) and so lose an item's cost.
    if (row == 0) return;
    main.currentItem = itemOfRow(main, row);

    bool done = false;
    switch (command) {
    case kClearItemCommand:
        done = clearItem(main.form, main.currentItem);
        break;
    case kInsertItemCommand:
        done = insertItem(main.form, main.currentItem);
        break;
    case kDeleteItemCommand:
        done = deleteItem(main.form, main.currentItem);
        break;
    default:
        break;
    }
    if (!done) return;
    refreshRows(main);
    main.editor.changed = true;
    // The range follows the new count (the position stays), so items that
    // an insert pushed below the last row can still be scrolled to.
    updateScrollBar(main);
    ControlSetFocus(main.window, kDateColumn + row);
}

} // namespace plaxet
