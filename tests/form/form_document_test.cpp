#include "form/form_document.h"

#include "form_builder.h"

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
    EXPECT_EQ(descriptions(form, 5),
              (std::vector<std::string>{"Paint", "", "Brushes", "Ladder", ""}));
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
