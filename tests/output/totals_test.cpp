#include "output/totals.h"

#include "form_builder.h"
#include "output/payment_code.h"
#include "runtime/numbers.h"

#include <gtest/gtest.h>

#include <functional>

namespace plaxet {
namespace {

using testing::formOfType;

// The computed cost text of item `item` (1-based).
const std::string& costOf(const ItemSums& sums, int32_t item) {
    return sums.costs.at(static_cast<size_t>(item - 1));
}
const std::string& costOf(const DocumentValues& values, int32_t item) {
    return costOf(values.sums, item);
}

DocumentValues receipt(const std::vector<Item>& items, const std::string& amountPaid) {
    FormDocument form = formOfType(kReceipt, items);
    form.amountPaid = amountPaid;
    return documentValues(form);
}

} // namespace

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
    DocumentValues v = documentValues(form);
    EXPECT_EQ(costOf(v, 3), "150.00");
    EXPECT_EQ(costOf(v, 4), " 12"); // the grand total is taxed after a subtotal row
    EXPECT_EQ(v.sums.total, 162);
    EXPECT_EQ(v.totalRowAmount, 162);
    EXPECT_EQ(costOf(v, 1), "100"); // plain rows keep their text
    EXPECT_EQ(v.heading, "INVOICE");
    EXPECT_EQ(v.totalLabel, "Total due");
    EXPECT_EQ(v.closingSentence, "Please remit the total amount due.");

    // Taxes compound on the running subtotal.
    form = formOfType(
        kInvoice,
        {{"", "Labour", "100"}, {"", "Parts", "50"}, {"", "tax, 10%", ""}, {"", "tax (5%)", ""}});
    v = documentValues(form);
    EXPECT_EQ(costOf(v, 3), " 15");
    EXPECT_EQ(costOf(v, 4), " 8.25");
    EXPECT_DOUBLE_EQ(v.sums.total, 173.25);

    // After plain items a tax row taxes only what came since the last subtotal.
    form = formOfType(
        kEstimate, {{"", "a", "100"}, {"", "Subtotal", ""}, {"", "b", "20"}, {"", "Tax (7%)", ""}});
    v = documentValues(form);
    EXPECT_EQ(costOf(v, 2), "100.00");
    EXPECT_EQ(costOf(v, 4), " 1.4");
    EXPECT_DOUBLE_EQ(v.sums.total, 121.4);
    EXPECT_EQ(v.heading, "ESTIMATE");
    EXPECT_EQ(v.totalLabel, "Estimated total");
    EXPECT_EQ(v.closingSentence, "This is an estimate of the proposed sales and services");
}

TEST(Totals, EdgeCasesOfComputedRows) {
    // No items: nothing to remit but the wording is complete.
    FormDocument form = formOfType(kInvoice);
    DocumentValues v = documentValues(form);
    EXPECT_EQ(v.sums.total, 0);
    EXPECT_EQ(v.totalRowAmount, 0);
    EXPECT_EQ(v.closingSentence, "Please remit the total amount due.");

    // A first subtotal row shows 0.00 and changes nothing.
    form = formOfType(kInvoice, {{"", "Subtotal", "99"}, {"", "x", "5"}});
    v = documentValues(form);
    EXPECT_EQ(costOf(v, 1), "0.00");
    EXPECT_EQ(v.sums.total, 5);

    // A tax row without a rate counts its typed cost, which stays as typed.
    form = formOfType(kInvoice, {{"", "x", "10"}, {"", "TAX", "4.50"}});
    v = documentValues(form);
    EXPECT_EQ(costOf(v, 2), "4.50");
    EXPECT_DOUBLE_EQ(v.sums.total, 14.5);

    // Rates as factor and as percentage.
    for (const auto& [description, expected] :
         {std::pair<const char*, const char*>{"tax (7)", " 700"},
          {"tax (7%)", " 7"},
          {"tax (.07)", " 7"}}) {
        form = formOfType(kInvoice, {{"", "x", "100"}, {"", description, ""}});
        v = documentValues(form);
        EXPECT_EQ(costOf(v, 2), expected) << description;
    }

    // Unreadable and partly readable costs.
    form = formOfType(kInvoice, {{"", "a", "12.50 each"},
                                 {"", "b", "abc"},
                                 {"", "c", "1,200"},
                                 {"", "d", "$12"},
                                 {"", "", ""}});
    v = documentValues(form);
    EXPECT_DOUBLE_EQ(v.sums.total, 13.5);
}

TEST(Totals, ReceiptBalances) {
    const std::vector<Item> items = {
        {"", "Labour", "100"}, {"", "Parts", "50"}, {"", "Subtotal", ""}, {"", "Tax (8%)", ""}};
    DocumentValues v = receipt(items, "150");
    EXPECT_EQ(v.heading, "RECEIPT");
    EXPECT_EQ(v.totalLabel, "Total paid");
    EXPECT_EQ(v.totalRowAmount, 150);
    EXPECT_EQ(v.closingSentence, "12.00 is still owed, please remit balance");

    EXPECT_EQ(receipt(items, "200").closingSentence, "Overpaid 38.00, please contact us");
    EXPECT_EQ(receipt(items, "162").closingSentence, "Total amount paid in full.");

    // An empty amount box counts as paid in full; blanks or text pay nothing.
    v = receipt(items, "");
    EXPECT_EQ(v.totalRowAmount, 162);
    EXPECT_EQ(v.closingSentence, "Total amount paid in full.");
    v = receipt(items, "  ");
    EXPECT_EQ(v.totalRowAmount, 0);
    EXPECT_EQ(v.closingSentence, "162.00 is still owed, please remit balance");
    v = receipt(items, "abc");
    EXPECT_EQ(v.totalRowAmount, 0);
    EXPECT_EQ(v.closingSentence, "162.00 is still owed, please remit balance");

    // Added in extended precision, 0.1 + 0.2 lands on the double nearest 0.3.
    EXPECT_EQ(receipt({{"", "a", "0.1"}, {"", "b", "0.2"}}, "0.3").closingSentence,
              "Total amount paid in full.");
}

// Every row enters the sums as the cents it prints, so the rows of a document
// always add up to its total, whichever program wrote the form.
TEST(Totals, RowsAddUpToTheTotalTheyPrint) {
    struct Case {
        const char* what;
        int32_t formType;
        std::vector<Item> items;
        const char* amountPaid;
        const char* total;   // the totals row's money text
        const char* closing; // empty: not checked
    };
    const std::vector<Case> cases = {
        {"three rows of half a cent and a tax",
         kInvoice,
         {{"", "a", "4.995"}, {"", "b", "4.995"}, {"", "c", "4.995"}, {"", "Tax (10%)", ""}},
         "",
         "16.50",
         ""},
        {"a receipt whose row prints what was paid",
         kReceipt,
         {{"", "x", "10.004"}},
         "10",
         "10.00",
         "Total amount paid in full."},
        {"a receipt overpaid by less than a cent",
         kReceipt,
         {{"", "x", "9.996"}},
         "10",
         "10.00",
         "Total amount paid in full."},
        {"a tax on a row of three decimals",
         kInvoice,
         {{"", "x", "33.333"}, {"", "Tax (10%)", ""}},
         "",
         "36.66",
         ""},
        {"less than half a cent below zero", kInvoice, {{"", "x", "-0.004"}}, "", "0.00", ""},
        {"two rates in sections",
         kInvoice,
         {{"", "a", "39.98"},
          {"", "Tax (19%)", ""},
          {"", "Subtotal", ""},
          {"", "b", "98.09"},
          {"", "Tax (7%)", ""}},
         "",
         "152.54",
         ""},
        {"cents as typed", kInvoice, {{"", "x", "12.34"}}, "", "12.34", ""},
    };
    for (const Case& c : cases) {
        FormDocument form = formOfType(c.formType, c.items);
        form.amountPaid = c.amountPaid;
        const DocumentValues v = documentValues(form);
        EXPECT_EQ(Format(v.totalRowAmount), c.total) << c.what;
        if (*c.closing) {
            EXPECT_EQ(v.closingSentence, c.closing) << c.what;
        }
    }
    // A computed tax keeps its general number text in the record, computed on
    // the cents the rows above it print.
    const DocumentValues v =
        documentValues(formOfType(kInvoice, {{"", "x", "33.333"}, {"", "Tax (10%)", ""}}));
    EXPECT_EQ(costOf(v, 2), " 3.333");
}

TEST(Totals, WordingDatesAndNotes) {
    FormDocument form = formOfType(kInvoice);
    setFormDate(form, "3/5/2024");
    form.notes = "a\r\nb\r\n";
    DocumentValues v = documentValues(form);
    EXPECT_EQ(v.longDate, "March 5, 2024");
    EXPECT_EQ(v.notesLines, (std::vector<std::string>{"a", "b", ""}));

    // A blank date has no long form; empty notes give one empty line.
    setFormDate(form, "");
    form.notes.clear();
    v = documentValues(form);
    EXPECT_EQ(v.longDate, "");
    EXPECT_EQ(v.notesLines, std::vector<std::string>{""});

    setFormDate(form, "12/24/2023");
    EXPECT_EQ(documentValues(form).longDate, "December 24, 2023");

    // A lone LF does not cut the notes.
    form.notes = "one\ntwo\r\nthree";
    EXPECT_EQ(documentValues(form).notesLines, (std::vector<std::string>{"one\ntwo", "three"}));

    // Without a form type there is no wording and no totals row amount.
    form = formOfType(kNoType, {{"", "x", "5"}});
    v = documentValues(form);
    EXPECT_EQ(v.heading, "");
    EXPECT_EQ(v.totalLabel, "");
    EXPECT_EQ(v.closingSentence, "");
    EXPECT_EQ(v.totalRowAmount, 0);
    EXPECT_EQ(v.sums.total, 5);
}

TEST(Totals, WhatAnInvoiceSaysAboutItsNumberDatesBuyerAndSeller) {
    using testing::gardenBusiness;
    using Lines = std::vector<std::string>;
    const auto exempt = [] {
        BusinessDetails business;
        business.vat = "exempt";
        business.exemptionReason = "No VAT is charged (small business).";
        business.taxNumber = "12/345/67890";
        business.paymentTerms = "Payable within 14 days.";
        return business;
    };
    struct Case {
        const char* what;
        int32_t formType;
        BusinessDetails business;
        std::string number, due, terms;
        Lines footer;
    } const cases[] = {
        {"invoice",
         kInvoice,
         gardenBusiness(),
         "Invoice No. 2007-0042",
         "Due by February 4, 2007",
         "Payable within 30 days.",
         {"Ann's Garden Ltd, 2 Oak Rd, 10115 Berlin, DE", "VAT ID: DE987654321",
          "IBAN: DE89370400440532013000, BIC: COBADEFFXXX"}},
        // Payment terms only where money is asked for; the exemption everywhere;
        // the tax number without a VAT ID; the letterhead names a business without a legal name.
        {"receipt of an exempt business",
         kReceipt,
         exempt(),
         "Receipt No. 2007-0042",
         "Due by February 4, 2007",
         "No VAT is charged (small business).",
         {"Ann's Garden", "Tax number: 12/345/67890"}},
        {"estimate without details",
         kEstimate,
         {},
         "Estimate No. 2007-0042",
         "Due by February 4, 2007",
         "",
         {}},
    };
    for (const Case& c : cases) {
        FormDocument form = testing::numberedGardenInvoice();
        form.formType = c.formType;
        const DocumentValues v = documentValues(form, c.business);
        EXPECT_EQ(v.numberLine, c.number) << c.what;
        EXPECT_EQ(v.dueLine, c.due) << c.what;
        EXPECT_EQ(v.buyerLines, (Lines{"VAT ID: DE123456789", "Your reference: PO 77"})) << c.what;
        EXPECT_EQ(v.termsLines, c.terms.empty() ? Lines{} : Lines{c.terms}) << c.what;
        EXPECT_EQ(v.footerLines, c.footer) << c.what;
    }
    // A form without them prints none of it.
    const DocumentValues plain = documentValues(testing::gardenInvoice());
    EXPECT_TRUE(plain.numberLine.empty() && plain.dueLine.empty() && plain.buyerLines.empty() &&
                plain.termsLines.empty() && plain.footerLines.empty());
}

TEST(Totals, TheRecordKeepsItsTextsAndComputingTwiceGivesTheSame) {
    FormDocument form = formOfType(kInvoice, {{"", "x", "100"}, {"", "tax (5%)", "typed"}});
    const DocumentValues first = documentValues(form);
    const DocumentValues second = documentValues(form);
    EXPECT_EQ(costOf(second, 2), " 5");
    EXPECT_EQ(costOf(first, 2), costOf(second, 2));
    EXPECT_EQ(second.sums.total, 105);
    EXPECT_EQ(itemAt(form, 2).cost, "typed") << "the values never write into the record";

    // As the form file keeps it, the computed row holds its amount.
    const FormDocument stored = withComputedCosts(form, second.sums);
    EXPECT_EQ(itemAt(stored, 1).cost, "100");
    EXPECT_EQ(itemAt(stored, 2).cost, " 5");
}

TEST(Totals, ItemCountBeyondTheListIsHarmless) {
    FormDocument form = formOfType(kInvoice, {{"", "x", "3"}});
    form.itemCount = 50;
    DocumentValues v = documentValues(form);
    EXPECT_EQ(v.sums.total, 3);
    EXPECT_EQ(v.sums.costs.size(), 1u);
    EXPECT_EQ(v.printedCosts.ends.size(), 1u);
    form.itemCount = -4;
    v = documentValues(form);
    EXPECT_EQ(v.sums.total, 0);
    EXPECT_TRUE(v.sums.costs.empty());
}

TEST(Totals, ScreenRecalculation) {
    FormDocument form = formOfType(kInvoice, {{"", "Labour", "100"},
                                              {"", "Parts", "50.5"},
                                              {"", "Subtotal", ""},
                                              {"", "TAX (8%)", ""},
                                              {"", "tax", "4.50"}});
    ItemSums sums = screenSums(form);
    EXPECT_EQ(costOf(sums, 3), " 150.5"); // general number text, not money text
    EXPECT_EQ(costOf(sums, 4), " 12.04");
    EXPECT_EQ(costOf(sums, 5), "4.50");
    EXPECT_DOUBLE_EQ(sums.total, 167.04);
    EXPECT_EQ(costOf(documentValues(form), 3), "150.50");

    // The rate comes from the description as stored: a trailing blank hides
    // the percent sign here, though not in the documents' computation.
    form = formOfType(kInvoice, {{"", "x", "100"}, {"", "Tax, 7% ", ""}});
    EXPECT_EQ(costOf(screenSums(form), 2), " 700");
    EXPECT_EQ(costOf(documentValues(form), 2), " 7");

    // A subtotal of zero reads " 0".
    form = formOfType(kInvoice, {{"", "subtotal", ""}});
    EXPECT_EQ(costOf(screenSums(form), 1), " 0");
}

} // namespace plaxet

namespace plaxet {

TEST(PaymentCode, TextForTheBankingApp) {
    const auto euroBusiness = [] {
        BusinessDetails business = testing::gardenBusiness();
        business.currency = "EUR";
        return business;
    };
    const auto text = [](std::string_view name, std::string_view iban, std::string_view bic,
                         std::string_view amount, std::string_view number) {
        std::string out = "BCD\n002\n1\nSCT\n";
        for (std::string_view line :
             {bic, name, iban, amount, std::string_view(), std::string_view(), number}) {
            out += line;
            out += '\n';
        }
        out.pop_back();
        return out;
    };
    const std::string garden = "Ann's Garden Ltd", iban = "DE89370400440532013000";
    const std::string bic = "COBADEFFXXX", number = "2007-0042";
    std::string seventy, eighty, euroSigns;
    for (int i = 0; i < 80; ++i) (i < 70 ? seventy : eighty) += "\xC3\x84";
    eighty = seventy + eighty;
    for (int i = 0; i < 70; ++i) euroSigns += "\xE2\x82\xAC";
    struct Case {
        const char* what;
        std::function<void(BusinessDetails&, FormDocument&)> change;
        double amount;
        std::string expected;
    } const cases[] = {
        {"invoice", [](BusinessDetails&, FormDocument&) {}, 40,
         text(garden, iban, bic, "EUR40.00", number)},
        {"no IBAN", [](BusinessDetails& b, FormDocument&) { b.iban.clear(); }, 40, ""},
        {"IBAN of blanks", [](BusinessDetails& b, FormDocument&) { b.iban = "  "; }, 40, ""},
        {"dollars", [](BusinessDetails& b, FormDocument&) { b.currency = "USD"; }, 40, ""},
        {"the locale's currency", [](BusinessDetails& b, FormDocument&) { b.currency.clear(); }, 40,
         ""},
        {"receipt", [](BusinessDetails&, FormDocument& f) { f.formType = kReceipt; }, 40, ""},
        {"amount 0", [](BusinessDetails&, FormDocument&) {}, 0, ""},
        {"amount under a cent", [](BusinessDetails&, FormDocument&) {}, 0.004, ""},
        {"a cent", [](BusinessDetails&, FormDocument&) {}, 0.01,
         text(garden, iban, bic, "EUR0.01", number)},
        {"largest amount", [](BusinessDetails&, FormDocument&) {}, 999999999.99,
         text(garden, iban, bic, "EUR999999999.99", number)},
        {"a billion", [](BusinessDetails&, FormDocument&) {}, 1e9, ""},
        {"blanks in the IBAN and BIC",
         [](BusinessDetails& b, FormDocument&) {
             b.iban = "DE89 3704 0044 0532 0130 00";
             b.bic = "COBA DEFF XXX";
         },
         12.5, text(garden, iban, bic, "EUR12.50", number)},
        {"no BIC", [](BusinessDetails& b, FormDocument&) { b.bic.clear(); }, 40,
         text(garden, iban, "", "EUR40.00", number)},
        {"letterhead without a legal name",
         [](BusinessDetails& b, FormDocument&) { b.name.clear(); }, 40,
         text("Ann's Garden", iban, bic, "EUR40.00", number)},
        {"long name cut to 70 letters",
         [&eighty](BusinessDetails& b, FormDocument&) { b.name = eighty; }, 40,
         text(seventy, iban, bic, "EUR40.00", number)},
        {"number cut to 140 characters, line break as a blank",
         [](BusinessDetails&, FormDocument& f) { f.number = "A\nB" + std::string(150, '7'); }, 40,
         text(garden, iban, bic, "EUR40.00", "A B" + std::string(137, '7'))},
        {"no number", [](BusinessDetails&, FormDocument& f) { f.number.clear(); }, 40,
         text(garden, iban, bic, "EUR40.00", "")},
        {"longer than 331 bytes",
         [&euroSigns](BusinessDetails& b, FormDocument& f) {
             b.name = euroSigns;
             f.number = std::string(140, 'N');
         },
         40, ""},
    };
    for (const Case& c : cases) {
        BusinessDetails business = euroBusiness();
        FormDocument form = testing::numberedGardenInvoice();
        c.change(business, form);
        EXPECT_EQ(paymentCodeText(business, form, c.amount), c.expected) << c.what;
    }
    // The documents' values carry the code of exactly that text.
    const FormDocument invoice = testing::numberedGardenInvoice();
    const DocumentValues values = documentValues(invoice, euroBusiness());
    ASSERT_TRUE(values.paymentCode.has_value());
    EXPECT_EQ(values.paymentCode->dark,
              encodeQr(text(garden, iban, bic, "EUR40.00", number))->dark);
    EXPECT_FALSE(documentValues(invoice, testing::gardenBusiness()).paymentCode.has_value());
}

} // namespace plaxet
