#include "ui/item_commands.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "win/controls.h"
#include "ui/control_ids.h"
#include "ui/item_rows.h"

namespace plaxet {
namespace {

using ItemList = std::vector<std::string>;

std::array<ItemList*, 3> itemLists(FormDocument& form) {
    return {&form.itemDates, &form.itemDescriptions, &form.itemCosts};
}

std::ptrdiff_t indexOf(int32_t item) {
    return static_cast<std::ptrdiff_t>(item - 1);
}

void clearItem(FormDocument& form, int32_t item) {
    for (ItemList* list : itemLists(form)) (*list)[static_cast<size_t>(item - 1)].clear();
}

// The entries from `item` on move one place down; the last one, blank by
// the growth rule, drops off.
void insertItem(FormDocument& form, int32_t item) {
    form.itemCount += 1;
    ensureCapacity(form);
    for (ItemList* list : itemLists(form)) {
        list->pop_back();
        list->insert(list->begin() + indexOf(item), std::string());
    }
}

// The entries after `item` move one place up; a blank one fills the end.
void deleteItem(FormDocument& form, int32_t item) {
    for (ItemList* list : itemLists(form)) {
        list->erase(list->begin() + indexOf(item));
        list->emplace_back();
    }
    form.itemCount -= 1;
}

} // namespace

void runRowCommand(MainWindow& main, int command) {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != main.window) return;
    const int row = cellPlace(GetDlgCtrlID(focus)).row;
    // Outside the cells there is no row to act on; beyond the items in use
    // there is no item, and deleting there would drop the count below the
    // last item (or below 0) and so lose an item's cost.
    if (row == 0) return;
    main.editor.currentItem = itemOfRow(main, row);
    if (main.editor.currentItem > main.form.itemCount) return;

    switch (command) {
    case kClearItemCommand:
        clearItem(main.form, main.editor.currentItem);
        break;
    case kInsertItemCommand:
        insertItem(main.form, main.editor.currentItem);
        break;
    case kDeleteItemCommand:
        deleteItem(main.form, main.editor.currentItem);
        break;
    default:
        return;
    }
    refreshRows(main);
    main.editor.changed = true;
    // The range follows the new count (the position stays), so items that
    // an insert pushed below the last row can still be scrolled to.
    updateScrollBar(main);
    ControlSetFocus(main.window, kDateColumn + row);
}

} // namespace plaxet
