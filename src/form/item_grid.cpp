#include "form/item_grid.h"

#include "form/item_sums.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <algorithm>
#include <utility>

namespace plaxet {
namespace {

bool isComputed(std::string_view description) {
    return rowKindOf(description) != RowKind::Plain;
}

std::string& cellText(FormDocument& form, GridColumn column, int32_t item) {
    Item& row = editItem(form, item);
    if (column == GridColumn::Date) return row.date;
    if (column == GridColumn::Description) return row.description;
    return row.cost;
}

bool& labelAlignedIn(ItemGrid& grid, int row) {
    return grid.labelAligned[static_cast<size_t>(row - 1)];
}

// What leaving a cell does to the count of its row's item (see leaveCell).
enum class RowCompletion { None, ComputedRow, PlainRow };

RowCompletion rowCompletion(const ItemGrid& grid, const FormDocument& form, GridCell cell) {
    const int32_t item = itemOfRow(grid, cell.row);
    const Item& row = itemAt(form, item);
    if (isComputed(row.description))
        return grid.labelAligned[static_cast<size_t>(cell.row - 1)] ? RowCompletion::None
                                                                    : RowCompletion::ComputedRow;
    if (cell.column == GridColumn::Cost && item > form.itemCount && !row.description.empty() &&
        !row.cost.empty())
        return RowCompletion::PlainRow;
    return RowCompletion::None;
}

// Makes `item` count, with the blank items above it: counting it alone would
// leave it beyond the count. Blank items are closed up when the form is gathered.
void countThrough(FormDocument& form, int32_t item) {
    if (item <= form.itemCount) return;
    editItem(form, item);
    form.itemCount = item;
}

// The scroll bar's range and page for the current count, at the top item.
void setScrollRange(ItemGrid& grid, const FormDocument& form) {
    GridScroll& scroll = grid.scroll;
    scroll.maximum = std::max(1, form.itemCount - 10);
    scroll.page = std::max(1, roundToInt((scroll.maximum - 1) / 5.0));
    scroll.position = grid.topItem;
}

void merge(GridUpdate& into, const GridUpdate& more) {
    into.rows = into.rows || more.rows;
    into.total = into.total || more.total;
    into.scrollBar = into.scrollBar || more.scrollBar;
    into.documentsStale = into.documentsStale || more.documentsStale;
    if (more.skipCostOfRow != 0) into.skipCostOfRow = more.skipCostOfRow;
}

// Leaving a cell of a row that may count; with `focusMovesOn` the focus goes
// on to another cell, which a computed row's cost cell is not to keep.
GridUpdate leaveRow(ItemGrid& grid, FormDocument& form, const EditorState& editor, GridCell cell,
                    bool focusMovesOn) {
    const int32_t countBefore = form.itemCount;
    const RowCompletion completion = rowCompletion(grid, form, cell);
    if (completion != RowCompletion::None) countThrough(form, itemOfRow(grid, cell.row));
    GridUpdate update;
    // The range follows every new item, so the bottom row can always be
    // scrolled on from, whichever way the item came to count.
    if (form.itemCount != countBefore) {
        setScrollRange(grid, form);
        update.scrollBar = true;
    }
    if (completion == RowCompletion::ComputedRow && focusMovesOn) update.skipCostOfRow = cell.row;
    merge(update, refreshGrid(grid, form, editor));
    return update;
}

} // namespace

int32_t itemOfRow(const ItemGrid& grid, int row) {
    return grid.topItem + row - 1;
}

ShownRow shownRow(const ItemGrid& grid, const FormDocument& form, int row) {
    const int32_t item = itemOfRow(grid, row);
    const Item& shown = itemAt(form, item);
    ShownRow texts;
    texts.date = shown.date;
    texts.description = shown.description;
    texts.computed = isComputed(shown.description);
    if (item >= 1 && item <= form.itemCount && !shown.cost.empty())
        texts.cost = Format(static_cast<double>(Val(shown.cost)));
    return texts;
}

GridUpdate refreshGrid(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                       GridRefresh why) {
    const bool scrolling = why == GridRefresh::AfterScroll;
    GridUpdate update;
    update.rows = true;
    const ItemSums sums = screenSums(form);
    if (!scrolling) {
        grid.shownTotal = sums.total;
        update.total = true;
    }
    // Computed rows hold the amounts the sums give them, as their cells show.
    form = withComputedCosts(std::move(form), sums);

    const auto first = static_cast<size_t>(std::max(grid.topItem, 1) - 1);
    const size_t counted = countedItems(form);
    for (size_t i = first; i < form.items.size() && i < first + kGridRows; ++i) {
        Item& shown = form.items[i];
        shown.description = Trim(shown.description);
        if (!scrolling && i < counted && !shown.cost.empty())
            shown.cost = Format(static_cast<double>(Val(shown.cost)));
    }
    for (size_t i = counted; i < form.items.size(); ++i) form.items[i].cost.clear();
    update.documentsStale = !scrolling || editor.changed;

    // A scroll shows the labels without making their blanks the form's.
    for (int row = 1; row <= kGridRows; ++row)
        labelAlignedIn(grid, row) =
            !scrolling && isComputed(itemAt(form, itemOfRow(grid, row)).description);
    return update;
}

GridUpdate showFromFirstItem(ItemGrid& grid, FormDocument& form, const EditorState& editor) {
    grid.topItem = 1;
    setScrollRange(grid, form);
    GridUpdate update = refreshGrid(grid, form, editor);
    update.scrollBar = true;
    return update;
}

GridUpdate startNewForm(ItemGrid& grid, FormDocument& form, EditorState& editor) {
    resetForNewForm(form, editor);
    grid.topItem = 1;
    grid.cellEdited = true;
    grid.labelAligned = {};
    setScrollRange(grid, form);
    GridUpdate update;
    update.rows = true;
    update.scrollBar = true;
    return update;
}

void typeIntoCell(ItemGrid& grid, FormDocument& form, EditorState& editor, GridCell cell,
                  std::string text) {
    editor.changed = true;
    grid.cellEdited = true;
    cellText(form, cell.column, itemOfRow(grid, cell.row)) = std::move(text);
    if (cell.column == GridColumn::Description) labelAlignedIn(grid, cell.row) = false;
}

GridUpdate leaveCell(ItemGrid& grid, FormDocument& form, const EditorState& editor, GridCell cell) {
    if (!grid.cellEdited || cell.row == 0) return {};
    return leaveRow(grid, form, editor, cell, true);
}

GridUpdate countFocusedRow(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                           GridCell focused) {
    if (!grid.cellEdited || focused.row == 0) return {};
    const RowCompletion completion = rowCompletion(grid, form, focused);
    const bool counts =
        completion == RowCompletion::PlainRow ||
        (completion == RowCompletion::ComputedRow && itemOfRow(grid, focused.row) > form.itemCount);
    if (!counts) return {};
    return leaveRow(grid, form, editor, focused, false);
}

GridUpdate scrollGrid(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                      GridCell focused, GridScrollRequest request, int position) {
    GridUpdate update = countFocusedRow(grid, form, editor, focused);
    if (form.itemCount < kGridRows) return update;

    GridScroll& scroll = grid.scroll;
    const bool forward = request == GridScrollRequest::LineDown ||
                         request == GridScrollRequest::PageDown ||
                         request == GridScrollRequest::ToPosition;
    int to = scroll.position;
    switch (request) {
    case GridScrollRequest::LineUp:
        to -= 1;
        break;
    case GridScrollRequest::LineDown:
        to += 1;
        break;
    case GridScrollRequest::PageUp:
        to -= scroll.page;
        break;
    case GridScrollRequest::PageDown:
        to += scroll.page;
        break;
    case GridScrollRequest::ToPosition:
        to = position;
        break;
    }
    to = std::max(to, 1);
    // The bar stops its thumb a page short of the maximum; going forward,
    // the last page snaps to the end so the last rows can be reached.
    if (forward && to + scroll.page > scroll.maximum) to = scroll.maximum;
    scroll.position = to;
    grid.topItem = to;
    update.scrollBar = true;
    merge(update, refreshGrid(grid, form, editor, GridRefresh::AfterScroll));
    return update;
}

GridUpdate scrollByWheel(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                         GridCell focused, int wheelDelta) {
    if (form.itemCount <= kGridRows) return {};
    return scrollGrid(grid, form, editor, focused,
                      wheelDelta > 0 ? GridScrollRequest::LineUp : GridScrollRequest::LineDown);
}

ArrowMove moveAcrossRows(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                         GridCell from, bool down) {
    if (from.row == (down ? kGridRows : 1))
        return {from, scrollGrid(grid, form, editor, from,
                                 down ? GridScrollRequest::LineDown : GridScrollRequest::LineUp)};
    return {{from.row + (down ? 1 : -1), from.column}, {}};
}

GridUpdate applyRowCommand(ItemGrid& grid, FormDocument& form, EditorState& editor, int row,
                           RowCommand command) {
    grid.currentItem = itemOfRow(grid, row);
    bool done = false;
    switch (command) {
    case RowCommand::Clear:
        done = clearItem(form, grid.currentItem);
        break;
    case RowCommand::Insert:
        done = insertItem(form, grid.currentItem);
        break;
    case RowCommand::Delete:
        done = deleteItem(form, grid.currentItem);
        break;
    }
    if (!done) return {};
    GridUpdate update = refreshGrid(grid, form, editor);
    editor.changed = true;
    // The range follows the new count (the position stays), so items that
    // an insert pushed below the last row can still be scrolled to.
    setScrollRange(grid, form);
    update.scrollBar = true;
    return update;
}

bool offerRowCommands(ItemGrid& grid, const FormDocument& form, int row) {
    grid.currentItem = itemOfRow(grid, row);
    return grid.currentItem <= form.itemCount;
}

} // namespace plaxet
