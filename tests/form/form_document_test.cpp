#include "form/form_document.h"

#include "form_builder.h"
#include "output/totals.h"
#include "runtime/numbers.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::addItems;
using testing::isBlankItem;
using testing::setItem;

std::vector<std::string> descriptions(const FormDocument& form, int32_t items) {
    std::vector<std::string> texts;
    for (int32_t item = 1; item <= items; ++item) texts.push_back(itemAt(form, item).description);
    return texts;
}

} // namespace

TEST(FormDocument, StartsEmpty) {
    FormDocument form;
    EditorState editor;
    EXPECT_EQ(form.formType, kNoType);
    EXPECT_EQ(form.formDate, "          ");
    EXPECT_TRUE(form.items.empty());
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_FALSE(editor.changed);
}

TEST(FormDocument, FormDateIsAlwaysTenCharacters) {
    FormDocument form;
    setFormDate(form, "1/5/2024");
    EXPECT_EQ(form.formDate, "1/5/2024  ");
    setFormDate(form, "01/05/2024xx");
    EXPECT_EQ(form.formDate, "01/05/2024");
    setFormDate(form, "");
    EXPECT_EQ(form.formDate, std::string(10, ' '));
}

TEST(FormDocument, BlankItemsHaveNoDescriptionAndNoCost) {
    FormDocument form;
    setItem(form, 1, "01/01/2024", "  ", " ");
    setItem(form, 2, "", "", "0");
    setItem(form, 3, "", "x", "");
    EXPECT_TRUE(isBlankItem(form, 1));
    EXPECT_FALSE(isBlankItem(form, 2));
    EXPECT_FALSE(isBlankItem(form, 3));
    EXPECT_TRUE(isBlankItem(form, 4));
    EXPECT_TRUE(isBlankItem(form, 0));
    EXPECT_TRUE(isBlankItem(form, 101));
}

TEST(FormDocument, RecountingClosesGapsAndDropsNoFilledItem) {
    FormDocument form;
    setItem(form, 1, "d1", "Paint", "10");
    setItem(form, 2, "", "", ""); // left by Insert item
    setItem(form, 3, "d3", "Brushes", "4.50");
    setItem(form, 5, "", "Subtotal", "");
    setItem(form, 100, "", "Last", "1");
    form.itemCount = 4;
    recountItems(form);
    EXPECT_EQ(form.itemCount, 4);
    EXPECT_EQ(itemAt(form, 1).description, "Paint");
    EXPECT_EQ(itemAt(form, 2).description, "Brushes");
    EXPECT_EQ(itemAt(form, 2).date, "d3");
    EXPECT_EQ(itemAt(form, 3).description, "Subtotal");
    EXPECT_EQ(itemAt(form, 4).description, "Last");
    for (int32_t i = 5; i <= 100; ++i) EXPECT_TRUE(isBlankItem(form, i)) << i;
    EXPECT_EQ(itemAt(form, 100).date, "");

    FormDocument empty;
    recountItems(empty);
    EXPECT_EQ(empty.itemCount, 0);
}

TEST(ItemEditing, InsertDeleteAndClearActOnCountedItemsOnly) {
    FormDocument form;
    addItems(form, {{"d1", "Paint", "10"}, {"d2", "Brushes", "4.50"}, {"d3", "Ladder", "120"}});

    ASSERT_TRUE(insertItem(form, 2));
    EXPECT_EQ(form.itemCount, 4);
    EXPECT_EQ(descriptions(form, 5), (std::vector<std::string>{"Paint", "", "Brushes", "Ladder", ""}));
    EXPECT_EQ(itemAt(form, 3).date, "d2") << "the date moves with its item";
    EXPECT_EQ(itemAt(form, 4).cost, "120");

    ASSERT_TRUE(deleteItem(form, 1));
    EXPECT_EQ(form.itemCount, 3);
    EXPECT_EQ(descriptions(form, 4), (std::vector<std::string>{"", "Brushes", "Ladder", ""}));
    EXPECT_EQ(itemAt(form, 3).cost, "120");

    ASSERT_TRUE(clearItem(form, 2));
    EXPECT_EQ(form.itemCount, 3) << "a cleared item still counts";
    EXPECT_TRUE(isBlankItem(form, 2));
    EXPECT_EQ(itemAt(form, 2).date, "");
    EXPECT_EQ(itemAt(form, 3).cost, "120");

    // Beyond the count there is no item: nothing moves and no cost is lost.
    setItem(form, 5, "", "typed below", "9");
    for (int32_t item : {0, -1, 4, 5, 1000}) {
        EXPECT_FALSE(insertItem(form, item)) << item;
        EXPECT_FALSE(deleteItem(form, item)) << item;
        EXPECT_FALSE(clearItem(form, item)) << item;
    }
    EXPECT_EQ(form.itemCount, 3);
    EXPECT_EQ(itemAt(form, 5).description, "typed below");
    EXPECT_EQ(itemAt(form, 3).cost, "120");
}

TEST(ItemEditing, RowsTypedBelowTheItemsMoveWithThemAndAreNeverLost) {
    FormDocument form;
    for (int32_t i = 1; i <= 150; ++i) addItems(form, {{"", "item " + std::to_string(i), "1"}});
    setItem(form, 152, "", "typed below", "3");
    ASSERT_TRUE(insertItem(form, 1));
    EXPECT_EQ(form.itemCount, 151);
    EXPECT_EQ(itemAt(form, 151).description, "item 150");
    EXPECT_EQ(itemAt(form, 153).description, "typed below");
    ASSERT_TRUE(deleteItem(form, 151));
    ASSERT_TRUE(deleteItem(form, 1));
    EXPECT_EQ(form.itemCount, 149);
    EXPECT_EQ(itemAt(form, 149).description, "item 149");
    EXPECT_EQ(itemAt(form, 151).description, "typed below");
    EXPECT_TRUE(isBlankItem(form, 152));
}

TEST(ItemEditing, EmptyingTheItemsLeavesNoneBehind) {
    FormDocument form;
    for (int32_t i = 1; i <= 90; ++i) addItems(form, {{"d", "item", "1"}});
    setItem(form, 150, "d", "typed beyond the count", "2");
    clearItems(form);
    EXPECT_EQ(form.itemCount, 0);
    for (int32_t item = 1; item <= 200; ++item) {
        EXPECT_TRUE(isBlankItem(form, item)) << item;
        EXPECT_EQ(itemAt(form, item).date, "") << item;
    }
}

TEST(ItemEditing, OneRuleMakesComputedRows) {
    EXPECT_EQ(rowKindOf("subtotal"), RowKind::Subtotal);
    EXPECT_EQ(rowKindOf(" SubTotal "), RowKind::Subtotal);
    EXPECT_EQ(rowKindOf("subtotals"), RowKind::Plain);
    EXPECT_EQ(rowKindOf("\tsubtotal"), RowKind::Plain); // only spaces are trimmed
    EXPECT_EQ(rowKindOf("tax"), RowKind::Tax);
    EXPECT_EQ(rowKindOf("Taxes"), RowKind::Tax);
    EXPECT_EQ(rowKindOf("  Taxable (5%)"), RowKind::Tax);
    EXPECT_EQ(rowKindOf("TAX, 7.5%"), RowKind::Tax);
    EXPECT_EQ(rowKindOf("ta"), RowKind::Plain);
    EXPECT_EQ(rowKindOf("Sales tax"), RowKind::Plain);
    EXPECT_EQ(rowKindOf(""), RowKind::Plain);
}

TEST(ItemEditing, LeavingACellCountsComputedRowsAndCompletePlainRows) {
    FormDocument form;
    addItems(form, {{"", "Paint", "10"}});
    setItem(form, 3, "", "Subtotal", "");
    setItem(form, 4, "", "Brushes", "4");
    setItem(form, 5, "", "Ladder", "");
    setItem(form, 6, "", "", "7");
    EXPECT_EQ(rowCompletion(form, 3, false, false), RowCompletion::ComputedRow);
    EXPECT_EQ(rowCompletion(form, 3, false, true), RowCompletion::ComputedRow);
    EXPECT_EQ(rowCompletion(form, 3, true, false), RowCompletion::None)
        << "shown as computed already";
    EXPECT_EQ(rowCompletion(form, 4, false, true), RowCompletion::PlainRow);
    EXPECT_EQ(rowCompletion(form, 4, false, false), RowCompletion::None)
        << "only the cost cell completes";
    EXPECT_EQ(rowCompletion(form, 5, false, true), RowCompletion::None) << "no cost yet";
    EXPECT_EQ(rowCompletion(form, 6, false, true), RowCompletion::None) << "no description yet";
    EXPECT_EQ(rowCompletion(form, 1, false, true), RowCompletion::None) << "counted already";
    EXPECT_EQ(rowCompletion(form, 0, false, true), RowCompletion::None);
    EXPECT_EQ(rowCompletion(form, 101, false, true), RowCompletion::None) << "nothing typed there";

    // Leaving counts the row, with the blank items above it.
    EXPECT_EQ(leaveRow(form, 4, false, true), RowCompletion::PlainRow);
    EXPECT_EQ(form.itemCount, 4);
    EXPECT_EQ(itemAt(form, 4).cost, "4");
    EXPECT_EQ(leaveRow(form, 7, false, false), RowCompletion::None);
    setItem(form, 7, "", "Tax (5%)", "");
    EXPECT_EQ(leaveRow(form, 7, false, false), RowCompletion::ComputedRow)
        << "from any of its cells";
    EXPECT_EQ(form.itemCount, 7);

    // A row already counted leaves the count alone.
    countThrough(form, 2);
    EXPECT_EQ(form.itemCount, 7);
    countThrough(form, 95);
    EXPECT_EQ(form.itemCount, 95);
    EXPECT_GE(form.items.size(), 95u);
    EXPECT_EQ(itemAt(form, 4).description, "Brushes");
}

// What the documents say of a form typed into the grid: every cell left, then
// the rows shown afresh, as the grid does.
DocumentValues typedForm(int32_t formType, const std::vector<Item>& typed,
                         const std::string& amountPaid = "") {
    FormDocument form;
    form.formType = formType;
    form.amountPaid = amountPaid;
    EditorState editor;
    for (size_t k = 0; k < typed.size(); ++k) {
        const auto item = static_cast<int32_t>(k + 1);
        editItem(form, item) = typed[k];
        leaveRow(form, item, false, true);
        refreshShownItems(form, editor, {1, 12, false});
    }
    recountItems(form);
    return documentValues(form);
}

TEST(ItemEditing, ARefreshLeavesTheCentsItShowsInTheRecord) {
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

TEST(ItemEditing, ARefreshTrimsEmptiesAndFormatsOnlyWhatItShows) {
    FormDocument form;
    addItems(form, {{"d1", " Paint ", "12.50 each"}, {"", "Brush", "3"}, {"", "Tax", "1.234"}});
    setItem(form, 4, "", "", "9");           // a cost below the items, no description
    setItem(form, 20, "", "  Ladder", "40"); // typed far below, not shown
    EditorState editor;

    // Scrolling: descriptions are trimmed and no uncounted item keeps a cost,
    // but the counted costs stay as typed.
    EXPECT_FALSE(refreshShownItems(form, editor, {2, 12, true}))
        << "a scroll over an unchanged form";
    EXPECT_EQ(itemAt(form, 2).cost, "3");
    EXPECT_EQ(itemAt(form, 4).cost, "");
    EXPECT_EQ(itemAt(form, 20).cost, "") << "the wheel moved it out of sight; it never counts";
    EXPECT_EQ(itemAt(form, 20).description, "  Ladder") << "not shown";
    editor.changed = true;
    EXPECT_TRUE(refreshShownItems(form, editor, {2, 12, true})) << "a scroll over a changed form";

    // Outside scrolling every shown counted cost becomes its money text.
    editor.changed = false;
    EXPECT_TRUE(refreshShownItems(form, editor, {2, 12, false}))
        << "every refresh outside scrolling";
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(itemAt(form, 1).cost, "12.50 each") << "item 1 is not shown";
    EXPECT_EQ(itemAt(form, 1).description, " Paint ");
    EXPECT_EQ(itemAt(form, 2).cost, "3.00");
    EXPECT_EQ(itemAt(form, 3).cost, "1.23");
    EXPECT_EQ(itemAt(form, 2).description, "Brush");
    EXPECT_EQ(form.itemCount, 3);
}

TEST(FormDocument, NewFormKeepsSenderDateAndAmount) {
    FormDocument form;
    EditorState editor;
    form.senderLines[0] = "Shop";
    form.addresseeLines = {"A", "B", "C", "D"};
    setFormDate(form, "01/05/2024");
    form.amountPaid = "5";
    form.notes = "n";
    form.formType = kReceipt;
    setItem(form, 1, "x", "y", "1");
    form.itemCount = 1;
    editor.currentFilePath = "/tmp/a.plx";
    editor.changed = true;

    resetForNewForm(form, editor);
    EXPECT_EQ(form.senderLines[0], "Shop");
    EXPECT_EQ(form.formDate, "01/05/2024");
    EXPECT_EQ(form.amountPaid, "5");
    EXPECT_EQ(form.addresseeLines[0], "");
    EXPECT_EQ(form.notes, "");
    EXPECT_EQ(form.formType, kInvoice);
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_TRUE(isBlankItem(form, 1));
    EXPECT_EQ(itemAt(form, 1).date, "");
    EXPECT_EQ(editor.currentFilePath, "");
    EXPECT_FALSE(editor.changed);
}

} // namespace plaxet
