#include "form/form_document.h"

#include "form_builder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::setItem;

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
