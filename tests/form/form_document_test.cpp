#include "form/form_document.h"

#include "form_builder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::addItems;
using testing::setItem;

std::vector<std::string> descriptions(const FormDocument& form, int32_t items) {
    return {form.itemDescriptions.begin(), form.itemDescriptions.begin() + items};
}

} // namespace

TEST(FormDocument, StartsEmptyWithRoomForAHundredItems) {
    FormDocument form;
    EditorState editor;
    EXPECT_EQ(form.formType, kNoType);
    EXPECT_EQ(form.formDate, "          ");
    EXPECT_EQ(form.itemCapacity, 100);
    EXPECT_EQ(form.itemDates.size(), 100u);
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

TEST(FormDocument, CapacityGrowsByAHundredWhenTwentyAreLeft) {
    FormDocument form;
    for (int32_t i = 1; i <= 80; ++i) setItem(form, i, "", "item", std::to_string(i));
    form.itemCount = 80;
    ensureCapacity(form);
    EXPECT_EQ(form.itemCapacity, 100);

    form.itemCount = 81;
    ensureCapacity(form);
    EXPECT_EQ(form.itemCapacity, 200);
    EXPECT_EQ(form.itemCosts.size(), 200u);
    EXPECT_EQ(form.itemDescriptions.size(), 200u);
    EXPECT_EQ(form.itemDates.size(), 200u);
    EXPECT_EQ(form.itemCosts[79], "80");
    EXPECT_EQ(form.itemCosts[80], "");

    form.itemCount = 181;
    ensureCapacity(form);
    EXPECT_EQ(form.itemCapacity, 300);
    // Several steps at once, as when a large file is loaded.
    form.itemCount = 1000;
    ensureCapacity(form);
    EXPECT_EQ(form.itemCapacity, 1100);
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
    EXPECT_EQ(form.itemDescriptions[0], "Paint");
    EXPECT_EQ(form.itemDescriptions[1], "Brushes");
    EXPECT_EQ(form.itemDates[1], "d3");
    EXPECT_EQ(form.itemDescriptions[2], "Subtotal");
    EXPECT_EQ(form.itemDescriptions[3], "Last");
    for (int32_t i = 5; i <= 100; ++i) EXPECT_TRUE(isBlankItem(form, i)) << i;
    EXPECT_EQ(form.itemDates[99], "");

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
    EXPECT_EQ(form.itemDates[2], "d2") << "the date moves with its item";
    EXPECT_EQ(form.itemCosts[3], "120");

    ASSERT_TRUE(deleteItem(form, 1));
    EXPECT_EQ(form.itemCount, 3);
    EXPECT_EQ(descriptions(form, 4), (std::vector<std::string>{"", "Brushes", "Ladder", ""}));
    EXPECT_EQ(form.itemCosts[2], "120");
    EXPECT_EQ(form.itemDescriptions.size(), 100u) << "the lists keep their length";

    ASSERT_TRUE(clearItem(form, 2));
    EXPECT_EQ(form.itemCount, 3) << "a cleared item still counts";
    EXPECT_TRUE(isBlankItem(form, 2));
    EXPECT_EQ(form.itemDates[1], "");
    EXPECT_EQ(form.itemCosts[2], "120");

    // Beyond the count there is no item: nothing moves and no cost is lost.
    setItem(form, 5, "", "typed below", "9");
    for (int32_t item : {0, -1, 4, 5, 1000}) {
        EXPECT_FALSE(insertItem(form, item)) << item;
        EXPECT_FALSE(deleteItem(form, item)) << item;
        EXPECT_FALSE(clearItem(form, item)) << item;
    }
    EXPECT_EQ(form.itemCount, 3);
    EXPECT_EQ(form.itemDescriptions[4], "typed below");
    EXPECT_EQ(form.itemCosts[2], "120");
}

TEST(ItemEditing, InsertingNearTheEndGrowsTheListsAndKeepsEveryItem) {
    FormDocument form;
    for (int32_t i = 1; i <= 80; ++i) addItems(form, {{"", "item " + std::to_string(i), "1"}});
    ASSERT_EQ(form.itemCapacity, 100);
    ASSERT_TRUE(insertItem(form, 1));
    EXPECT_EQ(form.itemCount, 81);
    EXPECT_EQ(form.itemCapacity, 200);
    EXPECT_EQ(form.itemDescriptions.size(), 200u);
    EXPECT_EQ(form.itemDescriptions[80], "item 80");
    EXPECT_TRUE(isBlankItem(form, 82));
}

TEST(ItemEditing, EmptyingTheItemsKeepsTheRoomForThem) {
    FormDocument form;
    for (int32_t i = 1; i <= 90; ++i) addItems(form, {{"d", "item", "1"}});
    setItem(form, 150, "d", "typed beyond the count", "2");
    clearItems(form);
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_EQ(form.itemCapacity, 200);
    for (int32_t item = 1; item <= form.itemCapacity; ++item) {
        EXPECT_TRUE(isBlankItem(form, item)) << item;
        EXPECT_EQ(form.itemDates[static_cast<size_t>(item - 1)], "") << item;
    }
}

TEST(ItemEditing, LeavingACellCountsComputedRowsAndCompletePlainRows) {
    EXPECT_TRUE(namesComputedRow("Subtotal"));
    EXPECT_TRUE(namesComputedRow("SUBTOTAL"));
    EXPECT_TRUE(namesComputedRow("Tax (7%)"));
    EXPECT_TRUE(namesComputedRow("taxes"));
    EXPECT_FALSE(namesComputedRow("Subtotals"));
    EXPECT_FALSE(namesComputedRow("  Subtotal")) << "a stored, pushed-right label is counted already";
    EXPECT_FALSE(namesComputedRow("Syntax"));
    EXPECT_FALSE(namesComputedRow(""));

    FormDocument form;
    addItems(form, {{"", "Paint", "10"}});
    setItem(form, 3, "", "Subtotal", "");
    setItem(form, 4, "", "Brushes", "4");
    setItem(form, 5, "", "Ladder", "");
    setItem(form, 6, "", "", "7");
    EXPECT_EQ(rowCompletion(form, 3, false), RowCompletion::ComputedRow);
    EXPECT_EQ(rowCompletion(form, 3, true), RowCompletion::ComputedRow);
    EXPECT_EQ(rowCompletion(form, 4, true), RowCompletion::PlainRow);
    EXPECT_EQ(rowCompletion(form, 4, false), RowCompletion::None) << "only the cost cell completes";
    EXPECT_EQ(rowCompletion(form, 5, true), RowCompletion::None) << "no cost yet";
    EXPECT_EQ(rowCompletion(form, 6, true), RowCompletion::None) << "no description yet";
    EXPECT_EQ(rowCompletion(form, 1, true), RowCompletion::None) << "counted already";
    EXPECT_EQ(rowCompletion(form, 0, true), RowCompletion::None);
    EXPECT_EQ(rowCompletion(form, 101, true), RowCompletion::None);

    // A row filled below the first free one counts the blank ones above it,
    // and a row already counted leaves the count alone.
    countThrough(form, 4);
    EXPECT_EQ(form.itemCount, 4);
    countThrough(form, 2);
    EXPECT_EQ(form.itemCount, 4);
    countThrough(form, 95);
    EXPECT_EQ(form.itemCount, 95);
    EXPECT_EQ(form.itemCapacity, 200);
    EXPECT_EQ(form.itemDescriptions[3], "Brushes");
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
    EXPECT_EQ(form.itemDates[0], "");
    EXPECT_EQ(editor.currentFilePath, "");
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(editor.topItem, 1);
}

} // namespace plaxet
