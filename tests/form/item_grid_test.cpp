// The item grid's rules on its model, as the window hands it what is typed,
// which cell is left and which keys and scrolls come.
#include "form/item_grid.h"

#include "form_builder.h"
#include "output/totals.h"
#include "runtime/numbers.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::addItems;
using testing::setItem;

constexpr GridColumn kDate = GridColumn::Date;
constexpr GridColumn kDescription = GridColumn::Description;
constexpr GridColumn kCost = GridColumn::Cost;

class ItemGridRules : public ::testing::Test {
  protected:
    // A form of `count` items "Item k" costing k, shown from the top.
    void openWithItems(int count) {
        for (int k = 1; k <= count; ++k)
            addItems(form, {{"", "Item " + std::to_string(k), std::to_string(k)}});
        showFromFirstItem(grid, form, editor);
        editor.changed = false;
    }

    void type(int row, GridColumn column, const std::string& text) {
        typeIntoCell(grid, form, editor, {row, column}, text);
    }
    GridUpdate leave(int row, GridColumn column) {
        return leaveCell(grid, form, editor, {row, column});
    }
    // Date, description and cost typed into a row, moving on from each cell
    // but the cost cell, which keeps the focus.
    void typeRow(int row, const std::string& date, const std::string& description,
                 const std::string& cost) {
        type(row, kDate, date);
        leave(row, kDate);
        type(row, kDescription, description);
        leave(row, kDescription);
        type(row, kCost, cost);
    }
    GridUpdate scroll(GridScrollRequest request, int position = 0, GridCell focused = {}) {
        return scrollGrid(grid, form, editor, focused, request, position);
    }
    GridUpdate wheel(int delta, GridCell focused = {}) {
        return scrollByWheel(grid, form, editor, focused, delta);
    }

    FormDocument form;
    EditorState editor;
    ItemGrid grid;
};

TEST_F(ItemGridRules, TypedRowsCountOnceCompleteAndShowTheirCents) {
    typeRow(1, "03/01/2024", "Paint", "12.50 each");
    EXPECT_EQ(itemAt(form, 1).cost, "12.50 each") << "kept as typed while the cell has the focus";
    EXPECT_TRUE(editor.changed);
    EXPECT_EQ(form.itemCount, 0) << "not before the cost cell is left";

    const GridUpdate counted = leave(1, kCost);
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_TRUE(counted.rows && counted.total && counted.documentsStale && counted.scrollBar);
    EXPECT_EQ(counted.skipCostOfRow, 0);
    EXPECT_EQ(shownRow(grid, form, 1).cost, "12.50");
    EXPECT_EQ(itemAt(form, 1).cost, "12.50") << "the item takes the text its cell shows";
    EXPECT_EQ(grid.shownTotal, 12.5);

    // A row filled below a blank one counts with the blank one above it, and
    // keeps its cost (counting one item only would leave it beyond the count).
    typeRow(4, "", "  Brush  ", "3");
    leave(4, kCost);
    EXPECT_EQ(form.itemCount, 4);
    EXPECT_EQ(shownRow(grid, form, 4).cost, "3.00");
    EXPECT_EQ(itemAt(form, 4).description, "Brush") << "descriptions are trimmed";
    EXPECT_EQ(grid.shownTotal, 15.5);
    EXPECT_FALSE(leave(4, kCost).scrollBar) << "counted once";
}

TEST_F(ItemGridRules, BeforeAnyCellIsTypedIntoLeavingACellChangesNothing) {
    addItems(form, {{"", "Paint", "12.5"}});
    setItem(form, 2, "", "Brush", "3");
    for (GridColumn column : {kDate, kDescription, kCost}) {
        const GridUpdate update = leave(2, column);
        EXPECT_FALSE(update.rows || update.documentsStale);
        EXPECT_FALSE(countFocusedRow(grid, form, editor, {2, column}).rows);
    }
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_FALSE(editor.changed);
}

TEST_F(ItemGridRules, ComputedRowsCountFromAnyCellAndPassTheirCostCellOnce) {
    openWithItems(11);
    type(12, kDescription, "Subtotal");
    const GridUpdate left = leave(12, kDescription);
    EXPECT_EQ(form.itemCount, 12);
    EXPECT_EQ(left.skipCostOfRow, 12);
    EXPECT_TRUE(shownRow(grid, form, 12).computed);
    EXPECT_EQ(shownRow(grid, form, 12).cost, "66.00");

    // Shown pushed right already: leaving the row again passes through its
    // cost cell, until a scroll shows the label anew.
    EXPECT_EQ(leave(12, kDate).skipCostOfRow, 0);
    scroll(GridScrollRequest::LineDown);
    EXPECT_FALSE(scroll(GridScrollRequest::LineUp, 0, {11, kDate}).total)
        << "a counted row is not counted again before a scroll";
    ASSERT_EQ(grid.topItem, 1);
    EXPECT_EQ(leave(12, kDate).skipCostOfRow, 12);
    type(12, kDescription, "Subtotal");
    EXPECT_EQ(leave(12, kCost).skipCostOfRow, 12) << "typed into, the label is no longer aligned";

    // A tax row takes its rate of the items above it.
    type(11, kDescription, "Tax (10%)");
    leave(11, kDescription);
    EXPECT_EQ(shownRow(grid, form, 11).cost, "5.50");
    EXPECT_EQ(Format(grid.shownTotal), "60.50");
}

// What the documents say of a form typed into the grid.
DocumentValues typedForm(int32_t formType, const std::vector<Item>& typed,
                         const std::string& amountPaid = "") {
    FormDocument form;
    form.formType = formType;
    form.amountPaid = amountPaid;
    EditorState editor;
    ItemGrid grid;
    for (size_t k = 0; k < typed.size(); ++k) {
        const int row = static_cast<int>(k + 1);
        typeIntoCell(grid, form, editor, {row, kDescription}, typed[k].description);
        typeIntoCell(grid, form, editor, {row, kCost}, typed[k].cost);
        leaveCell(grid, form, editor, {row, kCost});
    }
    recountItems(form);
    return documentValues(form);
}

TEST(ItemGridRefresh, LeavesTheCentsItShowsInTheRecord) {
    const DocumentValues three = typedForm(kInvoice, {{"", "Bolts", "4.995"},
                                                      {"", "Nuts", "4.995"},
                                                      {"", "Washers", "4.995"},
                                                      {"", "Tax (10%)", ""}});
    ASSERT_EQ(three.sums.costs.size(), 4u);
    EXPECT_EQ(three.sums.costs[0], "5.00");
    EXPECT_EQ(Format(static_cast<double>(Val(three.sums.costs[3]))), "1.50") << "tax on 15.00";
    EXPECT_EQ(Format(three.totalRowAmount), "16.50");

    const DocumentValues paid = typedForm(kReceipt, {{"", "Lamp", "10.004"}}, "10");
    EXPECT_EQ(paid.closingSentence, "Total amount paid in full.");

    const DocumentValues taxed =
        typedForm(kInvoice, {{"", "Rope", "33.333"}, {"", "Tax (10%)", ""}});
    EXPECT_EQ(Format(taxed.totalRowAmount), "36.66");

    const DocumentValues tiny = typedForm(kInvoice, {{"", "Refund", "-0.004"}});
    EXPECT_EQ(Format(tiny.totalRowAmount), "0.00");
}

TEST(ItemGridRefresh, TrimsEmptiesAndFormatsOnlyWhatItShows) {
    FormDocument form;
    addItems(form, {{"d1", " Paint ", "12.50 each"}, {"", "Brush", "3"}, {"", "Tax", "1.234"}});
    setItem(form, 4, "", "", "9");           // a cost below the items, no description
    setItem(form, 20, "", "  Ladder", "40"); // typed far below, not shown
    EditorState editor;
    ItemGrid grid;
    grid.topItem = 2;

    // Scrolling: descriptions are trimmed and no uncounted item keeps a cost,
    // but the counted costs stay as typed.
    GridUpdate update = refreshGrid(grid, form, editor, GridRefresh::AfterScroll);
    EXPECT_FALSE(update.documentsStale) << "a scroll over an unchanged form";
    EXPECT_FALSE(update.total);
    EXPECT_EQ(itemAt(form, 2).cost, "3");
    EXPECT_EQ(shownRow(grid, form, 1).cost, "3.00");
    EXPECT_EQ(itemAt(form, 4).cost, "");
    EXPECT_EQ(itemAt(form, 20).cost, "") << "the wheel moved it out of sight; it never counts";
    EXPECT_EQ(itemAt(form, 20).description, "  Ladder") << "not shown";
    editor.changed = true;
    update = refreshGrid(grid, form, editor, GridRefresh::AfterScroll);
    EXPECT_TRUE(update.documentsStale) << "a scroll over a changed form";

    // Outside scrolling every shown counted cost becomes its money text.
    editor.changed = false;
    update = refreshGrid(grid, form, editor);
    EXPECT_TRUE(update.documentsStale) << "every refresh outside scrolling";
    EXPECT_TRUE(update.total);
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(itemAt(form, 1).cost, "12.50 each") << "item 1 is not shown";
    EXPECT_EQ(itemAt(form, 1).description, " Paint ");
    EXPECT_EQ(itemAt(form, 2).cost, "3.00");
    EXPECT_EQ(itemAt(form, 3).cost, "1.23");
    EXPECT_EQ(itemAt(form, 2).description, "Brush");
    EXPECT_EQ(form.itemCount, 3);
    EXPECT_EQ(Format(grid.shownTotal), "16.73") << "12.50 + 3 + 1.234, as the screen sums";
}

TEST_F(ItemGridRules, ScrollRangeAndWhenTheBarAndTheWheelScroll) {
    struct Range {
        int32_t items;
        int maximum;
        int page;
    };
    for (const Range c :
         {Range{11, 1, 1}, Range{15, 5, 1}, Range{23, 13, 2}, Range{29, 19, 4}, Range{33, 23, 4}}) {
        form.itemCount = c.items;
        showFromFirstItem(grid, form, editor);
        EXPECT_EQ(grid.scroll.maximum, c.maximum) << c.items << " items";
        EXPECT_EQ(grid.scroll.page, c.page) << c.items << " items";
    }

    // 11 items: neither bar nor wheel; 12: the bar only; 13: both.
    for (int32_t items : {11, 12, 13}) {
        form.itemCount = items;
        showFromFirstItem(grid, form, editor);
        EXPECT_EQ(scroll(GridScrollRequest::LineDown).rows, items >= 12) << items << " items";
        EXPECT_EQ(grid.topItem, items >= 12 ? 2 : 1) << items << " items, bar";
        scroll(GridScrollRequest::LineUp);
        wheel(-120);
        EXPECT_EQ(grid.topItem, items > 12 ? 2 : 1) << items << " items, wheel";
    }
}

TEST_F(ItemGridRules, ScrollingMovesByLinesPagesAndTheThumbWithoutChangingTheForm) {
    openWithItems(30);
    scroll(GridScrollRequest::ToPosition, 10);
    EXPECT_EQ(grid.topItem, 10);
    EXPECT_EQ(shownRow(grid, form, 1).description, "Item 10");
    EXPECT_EQ(shownRow(grid, form, 12).cost, "21.00");
    struct Step {
        GridScrollRequest request;
        int position;
        int32_t top;
    };
    using enum GridScrollRequest;
    for (const Step step :
         {Step{PageDown, 0, 14}, Step{LineUp, 0, 13}, Step{PageUp, 0, 9}, Step{PageUp, 0, 5},
          Step{PageUp, 0, 1}, Step{PageUp, 0, 1},
          // One line down from 16 would reach the last page, which snaps to 20.
          Step{ToPosition, 16, 16}, Step{LineDown, 0, 20}, Step{LineDown, 0, 20}}) {
        const GridUpdate update = scroll(step.request, step.position);
        EXPECT_EQ(grid.topItem, step.top);
        EXPECT_TRUE(update.rows && update.scrollBar && !update.total && !update.documentsStale);
    }
    EXPECT_EQ(shownRow(grid, form, 11).description, "Item 30");

    // The wheel: one line per event, up for a turn away from the user.
    wheel(120);
    EXPECT_EQ(grid.topItem, 19);
    wheel(-3 * 120);
    EXPECT_EQ(grid.topItem, 20);
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(itemAt(form, 30).cost, "30") << "a scroll only shows the items";
}

TEST_F(ItemGridRules, TheFocusedRowCountsBeforeTheRowsScrollAway) {
    openWithItems(20);
    scroll(GridScrollRequest::ToPosition, 10);
    typeRow(12, "", "Item 21", "21");
    // The wheel turns with the focus still in the cost cell.
    const GridUpdate update = wheel(120, {12, kCost});
    EXPECT_EQ(form.itemCount, 21);
    EXPECT_EQ(grid.topItem, 9);
    EXPECT_TRUE(update.total) << "the count's recalculation";
    EXPECT_EQ(itemAt(form, 21).cost, "21.00");

    // A cost typed where no item counts goes, by the wheel or by the Down key.
    scroll(GridScrollRequest::ToPosition, 11);
    type(12, kCost, "9");
    wheel(120, {12, kCost});
    EXPECT_EQ(itemAt(form, 22).cost, "");
    scroll(GridScrollRequest::ToPosition, 11);
    type(12, kCost, "8");
    const ArrowMove down = moveAcrossRows(grid, form, editor, {12, kCost}, true);
    EXPECT_EQ(down.to.row, 12) << "the rows scroll, the focus stays";
    EXPECT_EQ(grid.topItem, 11) << "not past the last page";
    EXPECT_EQ(itemAt(form, 22).cost, "");
    EXPECT_EQ(form.itemCount, 21);
}

TEST_F(ItemGridRules, ArrowKeysMoveAcrossRowsAndScrollAtTheEdges) {
    openWithItems(20);
    const ArrowMove move = moveAcrossRows(grid, form, editor, {3, kDescription}, true);
    EXPECT_EQ(move.to.row, 4);
    EXPECT_EQ(move.to.column, kDescription);
    EXPECT_FALSE(move.update.rows);
    EXPECT_EQ(moveAcrossRows(grid, form, editor, {12, kCost}, true).to.row, 12);
    EXPECT_EQ(grid.topItem, 2);
    EXPECT_EQ(moveAcrossRows(grid, form, editor, {1, kDate}, false).to.row, 1);
    moveAcrossRows(grid, form, editor, {1, kDate}, false);
    EXPECT_EQ(grid.topItem, 1) << "nothing above the first item";
}

TEST_F(ItemGridRules, RowCommandsActOnCountedItemsAndTheRangeFollows) {
    openWithItems(12);
    scroll(GridScrollRequest::LineDown);
    ASSERT_EQ(grid.topItem, 2);
    GridUpdate update = applyRowCommand(grid, form, editor, 1, RowCommand::Insert);
    EXPECT_EQ(grid.currentItem, 2);
    EXPECT_TRUE(update.rows && update.scrollBar && update.total);
    EXPECT_TRUE(editor.changed);
    applyRowCommand(grid, form, editor, 1, RowCommand::Insert);
    EXPECT_EQ(form.itemCount, 14);
    EXPECT_EQ(grid.topItem, 2) << "the rows stay where they were";
    EXPECT_EQ(grid.scroll.maximum, 4) << "items pushed down can be scrolled to";
    EXPECT_EQ(shownRow(grid, form, 3).description, "Item 2");

    applyRowCommand(grid, form, editor, 2, RowCommand::Delete);
    EXPECT_EQ(Format(grid.shownTotal), "78.00") << "a blank item and Item 1 to 12";

    // No item to act on past the items in use: no command, no menu.
    scroll(GridScrollRequest::ToPosition, 3);
    editor.changed = false;
    for (RowCommand command : {RowCommand::Clear, RowCommand::Insert, RowCommand::Delete})
        EXPECT_FALSE(applyRowCommand(grid, form, editor, 12, command).rows);
    EXPECT_EQ(grid.currentItem, 14);
    EXPECT_FALSE(editor.changed);
    EXPECT_TRUE(offerRowCommands(grid, form, 11));
    EXPECT_FALSE(offerRowCommands(grid, form, 12));
    EXPECT_EQ(grid.currentItem, 14);
}

TEST_F(ItemGridRules, CountingTheEightyFirstItemKeepsEveryItem) {
    openWithItems(80);
    scroll(GridScrollRequest::ToPosition, 70);
    typeRow(12, "", "Item 81", "81");
    leave(12, kCost);
    scroll(GridScrollRequest::LineDown); // Tab out of row 12
    EXPECT_EQ(form.itemCount, 81);
    EXPECT_EQ(itemAt(form, 1).description, "Item 1");
    EXPECT_EQ(itemAt(form, 80).description, "Item 80");
    EXPECT_EQ(itemAt(form, 81).cost, "81.00");
    EXPECT_EQ(grid.topItem, 71);
    EXPECT_EQ(shownRow(grid, form, 11).cost, "81.00");
}

TEST_F(ItemGridRules, ANewFormIsEmptyFromTheTopAndItsCellsCountAsTyped) {
    openWithItems(30);
    scroll(GridScrollRequest::ToPosition, 10);
    editor.currentFilePath = "job.plx";
    const GridUpdate update = startNewForm(grid, form, editor);
    EXPECT_TRUE(update.rows && update.scrollBar);
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_EQ(grid.topItem, 1);
    EXPECT_EQ(grid.scroll.maximum, 1);
    EXPECT_FALSE(editor.changed);
    EXPECT_TRUE(leave(1, kDate).rows) << "leaving a cell shows the rows afresh";
}

} // namespace
} // namespace plaxet
