#include "output/totals.h"

#include "form_builder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::costOf;
using testing::formOfType;

FormDocument receipt(const std::vector<testing::Item>& items, const std::string& amountPaid) {
    FormDocument form = formOfType(kReceipt, items);
    form.amountPaid = amountPaid;
    computeTotals(form);
    return form;
}

} // namespace

TEST(Totals, RowKinds) {
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

TEST(Totals, TaxRates) {
    EXPECT_DOUBLE_EQ(static_cast<double>(taxRateOf("tax (8.25%)")), 0.0825);
    EXPECT_DOUBLE_EQ(static_cast<double>(taxRateOf("tax, 6 %")), 0.06);
    EXPECT_DOUBLE_EQ(static_cast<double>(taxRateOf("tax (7%)")), 0.07);
    EXPECT_DOUBLE_EQ(static_cast<double>(taxRateOf("tax (0.07)")), 0.07);
    EXPECT_DOUBLE_EQ(static_cast<double>(taxRateOf("tax (.07)")), 0.07);
    EXPECT_EQ(taxRateOf("tax (7)"), 7);
    EXPECT_EQ(taxRateOf("tax 5%"), 0); // no second field
    EXPECT_EQ(taxRateOf("tax (abc%)"), 0);
    // The percent sign must end the field: a trailing blank makes 7 a factor.
    EXPECT_EQ(taxRateOf("tax, 7% "), 7);
}

TEST(Totals, SubtotalAndTaxRowsFromTheExamples) {
    FormDocument form = formOfType(
        kInvoice,
        {{"", "Labour", "100"}, {"", "Parts", "50"}, {"", "Subtotal", ""}, {"", "Tax (8%)", ""}});
    computeTotals(form);
    EXPECT_EQ(costOf(form, 3), "150.00");
    EXPECT_EQ(costOf(form, 4), " 12"); // the grand total is taxed after a subtotal row
    EXPECT_EQ(form.total, 162);
    EXPECT_EQ(form.lastTax, 12);
    EXPECT_EQ(form.totalRowAmount, 162);
    EXPECT_EQ(form.runningSubtotal, 12);
    EXPECT_EQ(costOf(form, 1), "100"); // plain rows keep their text
    EXPECT_EQ(form.headingWord, "INVOICE");
    EXPECT_EQ(form.totalLabel, "Total due");
    EXPECT_EQ(form.closingSentence, "Please remit the total amount due.");

    // Taxes compound on the running subtotal.
    form = formOfType(
        kInvoice,
        {{"", "Labour", "100"}, {"", "Parts", "50"}, {"", "tax, 10%", ""}, {"", "tax (5%)", ""}});
    computeTotals(form);
    EXPECT_EQ(costOf(form, 3), " 15");
    EXPECT_EQ(costOf(form, 4), " 8.25");
    EXPECT_DOUBLE_EQ(form.total, 173.25);

    // After plain items a tax row taxes only what came since the last subtotal.
    form = formOfType(
        kEstimate, {{"", "a", "100"}, {"", "Subtotal", ""}, {"", "b", "20"}, {"", "Tax (7%)", ""}});
    computeTotals(form);
    EXPECT_EQ(costOf(form, 2), "100.00");
    EXPECT_EQ(costOf(form, 4), " 1.4");
    EXPECT_DOUBLE_EQ(form.total, 121.4);
    EXPECT_EQ(form.headingWord, "ESTIMATE");
    EXPECT_EQ(form.totalLabel, "Estimated total");
    EXPECT_EQ(form.closingSentence, "This is an estimate of the proposed sales and services");
}

TEST(Totals, EdgeCasesOfComputedRows) {
    // No items: nothing to remit but the wording is complete.
    FormDocument form = formOfType(kInvoice);
    computeTotals(form);
    EXPECT_EQ(form.total, 0);
    EXPECT_EQ(form.totalRowAmount, 0);
    EXPECT_EQ(form.closingSentence, "Please remit the total amount due.");

    // A first subtotal row shows 0.00 and changes nothing.
    form = formOfType(kInvoice, {{"", "Subtotal", "99"}, {"", "x", "5"}});
    computeTotals(form);
    EXPECT_EQ(costOf(form, 1), "0.00");
    EXPECT_EQ(form.total, 5);

    // A tax row without a rate counts its typed cost, which stays as typed.
    form = formOfType(kInvoice, {{"", "x", "10"}, {"", "TAX", "4.50"}});
    computeTotals(form);
    EXPECT_EQ(costOf(form, 2), "4.50");
    EXPECT_DOUBLE_EQ(form.total, 14.5);
    EXPECT_DOUBLE_EQ(form.lastTax, 4.5);

    // Rates as factor and as percentage.
    for (const auto& [description, expected] :
         {std::pair<const char*, const char*>{"tax (7)", " 700"},
          {"tax (7%)", " 7"},
          {"tax (.07)", " 7"}}) {
        form = formOfType(kInvoice, {{"", "x", "100"}, {"", description, ""}});
        computeTotals(form);
        EXPECT_EQ(costOf(form, 2), expected) << description;
    }

    // Unreadable and partly readable costs.
    form = formOfType(kInvoice, {{"", "a", "12.50 each"},
                                 {"", "b", "abc"},
                                 {"", "c", "1,200"},
                                 {"", "d", "$12"},
                                 {"", "", ""}});
    computeTotals(form);
    EXPECT_DOUBLE_EQ(form.total, 13.5);
}

TEST(Totals, ReceiptBalances) {
    const std::vector<testing::Item> items = {
        {"", "Labour", "100"}, {"", "Parts", "50"}, {"", "Subtotal", ""}, {"", "Tax (8%)", ""}};
    FormDocument form = receipt(items, "150");
    EXPECT_EQ(form.headingWord, "RECEIPT");
    EXPECT_EQ(form.totalLabel, "Total paid");
    EXPECT_EQ(form.totalRowAmount, 150);
    EXPECT_EQ(form.closingSentence, "12.00 is still owed, please remit balance");

    EXPECT_EQ(receipt(items, "200").closingSentence, "Overpaid 38.00, please contact us");
    EXPECT_EQ(receipt(items, "162").closingSentence, "Total amount paid in full.");

    // An empty amount box counts as paid in full; blanks or text pay nothing.
    form = receipt(items, "");
    EXPECT_EQ(form.totalRowAmount, 162);
    EXPECT_EQ(form.closingSentence, "Total amount paid in full.");
    form = receipt(items, "  ");
    EXPECT_EQ(form.totalRowAmount, 0);
    EXPECT_EQ(form.closingSentence, "162.00 is still owed, please remit balance");
    form = receipt(items, "abc");
    EXPECT_EQ(form.totalRowAmount, 0);
    EXPECT_EQ(form.closingSentence, "162.00 is still owed, please remit balance");

    // The balance is compared unrounded.
    EXPECT_EQ(receipt({{"", "x", "10.004"}}, "10").closingSentence,
              "0.00 is still owed, please remit balance");
    EXPECT_EQ(receipt({{"", "x", "9.996"}}, "10").closingSentence,
              "Overpaid 0.00, please contact us");

    // Added in extended precision, 0.1 + 0.2 lands on the double nearest 0.3.
    EXPECT_EQ(receipt({{"", "a", "0.1"}, {"", "b", "0.2"}}, "0.3").closingSentence,
              "Total amount paid in full.");
}

TEST(Totals, WordingDatesAndNotes) {
    FormDocument form = formOfType(kInvoice);
    setFormDate(form, "3/5/2024");
    form.notes = "a\r\nb\r\n";
    computeTotals(form);
    EXPECT_EQ(form.longDate, "March 5, 2024");
    EXPECT_EQ(form.notesLines, (std::vector<std::string>{"a", "b", ""}));

    // A blank date leaves the long date alone; empty notes give one empty line.
    setFormDate(form, "");
    form.notes.clear();
    computeTotals(form);
    EXPECT_EQ(form.longDate, "March 5, 2024");
    EXPECT_EQ(form.notesLines, std::vector<std::string>{""});

    setFormDate(form, "12/24/2023");
    computeTotals(form);
    EXPECT_EQ(form.longDate, "December 24, 2023");

    // A lone LF does not cut the notes.
    form.notes = "one\ntwo\r\nthree";
    computeTotals(form);
    EXPECT_EQ(form.notesLines, (std::vector<std::string>{"one\ntwo", "three"}));

    // Without a form type the wording is empty and the closing is left alone.
    form.formType = kNoType;
    form.closingSentence = "earlier";
    form.totalRowAmount = 7;
    computeTotals(form);
    EXPECT_EQ(form.headingWord, "");
    EXPECT_EQ(form.totalLabel, "");
    EXPECT_EQ(form.closingSentence, "earlier");
    EXPECT_EQ(form.totalRowAmount, 7);
}

TEST(Totals, ComputedCostTextIsRecomputedNotAccumulated) {
    FormDocument form = formOfType(kInvoice, {{"", "x", "100"}, {"", "tax (5%)", ""}});
    computeTotals(form);
    computeTotals(form);
    EXPECT_EQ(costOf(form, 2), " 5");
    EXPECT_EQ(form.total, 105);
}

TEST(Totals, ItemCountBeyondTheListsIsHarmless) {
    FormDocument form = formOfType(kInvoice, {{"", "x", "3"}});
    form.itemCount = form.itemCapacity + 50;
    computeTotals(form);
    EXPECT_EQ(form.total, 3);
    form.itemCount = -4;
    computeTotals(form);
    EXPECT_EQ(form.total, 0);
}

TEST(Totals, ScreenRecalculation) {
    FormDocument form = formOfType(kInvoice, {{"", "Labour", "100"},
                                              {"", "Parts", "50.5"},
                                              {"", "Subtotal", ""},
                                              {"", "TAX (8%)", ""},
                                              {"", "tax", "4.50"}});
    form.closingSentence = "untouched";
    recalcItemTotals(form);
    EXPECT_EQ(costOf(form, 3), " 150.5"); // general number text, not money text
    EXPECT_EQ(costOf(form, 4), " 12.04");
    EXPECT_EQ(costOf(form, 5), "4.50");
    EXPECT_DOUBLE_EQ(form.total, 167.04);
    EXPECT_DOUBLE_EQ(form.lastTax, 4.5);
    EXPECT_EQ(form.closingSentence, "untouched"); // only the sums and computed rows

    // The rate comes from the description as stored: a trailing blank hides
    // the percent sign here, though not in the output computation.
    form = formOfType(kInvoice, {{"", "x", "100"}, {"", "Tax, 7% ", ""}});
    recalcItemTotals(form);
    EXPECT_EQ(costOf(form, 2), " 700");
    computeTotals(form);
    EXPECT_EQ(costOf(form, 2), " 7");

    // A subtotal of zero reads " 0".
    form = formOfType(kInvoice, {{"", "subtotal", ""}});
    recalcItemTotals(form);
    EXPECT_EQ(costOf(form, 1), " 0");
}

} // namespace plaxet
