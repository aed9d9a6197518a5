#include "form/form_document.h"

#include "form_builder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::addItems;
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
    EXPECT_EQ(editor.topItem, 1);
    EXPECT_EQ(editor.outputKind, kOutputRtf);
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

TEST(ItemEditing, LeavingACellCountsComputedRowsAndCompletePlainRows) {
    EXPECT_TRUE(namesComputedRow("Subtotal"));
    EXPECT_TRUE(namesComputedRow("SUBTOTAL"));
    EXPECT_TRUE(namesComputedRow("Tax (7%)"));
    EXPECT_TRUE(namesComputedRow("taxes"));
    EXPECT_FALSE(namesComputedRow("Subtotals"));
    EXPECT_FALSE(namesComputedRow("      Subtotal")) << "a label the grid pushed right";
    EXPECT_FALSE(namesComputedRow("Syntax"));
    EXPECT_FALSE(namesComputedRow(""));

    FormDocument form;
    addItems(form, {{"", "Paint", "10"}});
    setItem(form, 3, "", "Subtotal", "");
    setItem(form, 4, "", "Brushes", "4");
    setItem(form, 5, "", "Ladder", "");
    setItem(form, 6, "", "", "7");
    EXPECT_EQ(rowCompletion(form, 3, "Subtotal", false), RowCompletion::ComputedRow);
    EXPECT_EQ(rowCompletion(form, 3, "Subtotal", true), RowCompletion::ComputedRow);
    EXPECT_EQ(rowCompletion(form, 3, "     Subtotal", false), RowCompletion::None)
        << "shown as computed already";
    EXPECT_EQ(rowCompletion(form, 4, "Brushes", true), RowCompletion::PlainRow);
    EXPECT_EQ(rowCompletion(form, 4, "Brushes", false), RowCompletion::None)
        << "only the cost cell completes";
    EXPECT_EQ(rowCompletion(form, 5, "Ladder", true), RowCompletion::None) << "no cost yet";
    EXPECT_EQ(rowCompletion(form, 6, "", true), RowCompletion::None) << "no description yet";
    EXPECT_EQ(rowCompletion(form, 1, "Paint", true), RowCompletion::None) << "counted already";
    EXPECT_EQ(rowCompletion(form, 0, "Paint", true), RowCompletion::None);
    EXPECT_EQ(rowCompletion(form, 101, "", true), RowCompletion::None) << "nothing typed there";

    // A row filled below the first free one counts the blank ones above it,
    // and a row already counted leaves the count alone.
    countThrough(form, 4);
    EXPECT_EQ(form.itemCount, 4);
    countThrough(form, 2);
    EXPECT_EQ(form.itemCount, 4);
    countThrough(form, 95);
    EXPECT_EQ(form.itemCount, 95);
    EXPECT_GE(form.items.size(), 95u);
    EXPECT_EQ(itemAt(form, 4).description, "Brushes");
}

TEST(ItemEditing, LeavingARowTrimsItAndDropsTheCostOfARowThatDoesNotCount) {
    FormDocument form;
    addItems(form, {{"", "Paint", "10"}});

    // A cost without a description does not count and is emptied again.
    setItem(form, 2, "01/02/2024", "", "5");
    EXPECT_EQ(leaveRow(form, 2, "", true), RowCompletion::None);
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_EQ(itemAt(form, 2).cost, "");
    EXPECT_EQ(itemAt(form, 2).date, "01/02/2024") << "only the cost goes";

    // A complete row further down counts, with the blank ones above it, and
    // keeps its cost and its typed text; only the outer blanks go.
    setItem(form, 4, "", "  Brush  ", "3 each");
    EXPECT_EQ(leaveRow(form, 4, "  Brush  ", true), RowCompletion::PlainRow);
    EXPECT_EQ(form.itemCount, 4);
    EXPECT_EQ(itemAt(form, 4).description, "Brush");
    EXPECT_EQ(itemAt(form, 4).cost, "3 each");

    // A computed row counts from any of its cells, even one never typed into.
    EXPECT_EQ(leaveRow(form, 7, "Tax (5%)", false), RowCompletion::ComputedRow);
    EXPECT_EQ(form.itemCount, 7);

    // Leaving a counted row keeps its cost.
    editItem(form, 1).description = "Paint ";
    EXPECT_EQ(leaveRow(form, 1, "Paint ", false), RowCompletion::None);
    EXPECT_EQ(itemAt(form, 1).description, "Paint");
    EXPECT_EQ(itemAt(form, 1).cost, "10");

    // Rows with nothing typed are left alone.
    const size_t before = form.items.size();
    EXPECT_EQ(leaveRow(form, 40, "", true), RowCompletion::None);
    EXPECT_EQ(form.items.size(), before);
    EXPECT_EQ(form.itemCount, 7);
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
    editor.topItem = 7;

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
    EXPECT_EQ(editor.topItem, 1);
}

} // namespace plaxet
