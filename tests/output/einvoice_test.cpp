#include "output/einvoice/cii_xml.h"
#include "output/einvoice/einvoice.h"

#include "form_builder.h"
#include "output/totals.h"

#include <gtest/gtest.h>

#include <functional>

namespace plaxet {
namespace {

using testing::numberedGardenInvoice;

// An invoice the e-invoice can say: two rates, the second after a subtotal
// row that makes it tax only the items after it.
FormDocument twoRateInvoice() {
    FormDocument form = numberedGardenInvoice();
    form.buyer.reference.clear();
    form.buyer.country = "DE";
    form.items.clear();
    form.itemCount = 0;
    testing::addItems(form, {{"01/02/2007", "Mowing", "40"},
                             {"", "Hedge", "19.99"},
                             {"", "Tax (19%)", ""},
                             {"", "Subtotal", ""},
                             {"", "Seeds", "10.10"},
                             {"", "tax, 7%", ""}});
    return form;
}

BusinessDetails business() {
    BusinessDetails details = testing::gardenBusiness();
    details.currency = "EUR";
    return details;
}

EInvoiceResult eInvoice(const FormDocument& form, const BusinessDetails& details = business()) {
    return eInvoiceOf(form, documentValues(form, details), details);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(EInvoice, LinesRatesAndTotalsAreTheDocumentsAmounts) {
    FormDocument form = twoRateInvoice();
    const EInvoiceResult result = eInvoice(form);
    ASSERT_TRUE(result.invoice) << result.problem;
    const EInvoice& invoice = *result.invoice;
    EXPECT_FALSE(invoice.xrechnung);
    EXPECT_EQ(invoice.number, "2007-0042");
    EXPECT_EQ(invoice.issueDate, "20070105");
    EXPECT_EQ(invoice.dueDate, "20070204");
    EXPECT_EQ(invoice.deliveryDate, "20070105") << "without a delivery date, the issue date";

    // Computed rows are no lines; each line keeps its row number and date.
    ASSERT_EQ(invoice.lines.size(), 3u);
    EXPECT_EQ(invoice.lines[0].row, 1);
    EXPECT_EQ(invoice.lines[0].date, "20070102");
    EXPECT_EQ(invoice.lines[1].amountCents, 1999);
    EXPECT_EQ(invoice.lines[1].vat.ratePercent, "19");
    EXPECT_EQ(invoice.lines[2].row, 5);
    EXPECT_EQ(invoice.lines[2].vat.ratePercent, "7");

    // Each rate taxes its own items, at the amount its row prints.
    ASSERT_EQ(invoice.vatBreakdown.size(), 2u);
    EXPECT_EQ(invoice.vatBreakdown[0].basisCents, 5999);
    EXPECT_EQ(invoice.vatBreakdown[0].taxCents, 1140); // 11.3981
    EXPECT_EQ(invoice.vatBreakdown[1].basisCents, 1010);
    EXPECT_EQ(invoice.vatBreakdown[1].taxCents, 71); // 0.707
    EXPECT_EQ(invoice.lineTotalCents, 7009);
    EXPECT_EQ(invoice.taxTotalCents, 1211);
    EXPECT_EQ(invoice.grandTotalCents, 8220);
    EXPECT_DOUBLE_EQ(documentValues(form, business()).totalRowAmount, 82.20);

    // Two rows at one rate make one entry; a factor reads as its percentage.
    form.deliveryDate = "01/03/2007";
    editItem(form, 6).description = "Tax (0.19)";
    const EInvoiceResult oneRate = eInvoice(form);
    ASSERT_TRUE(oneRate.invoice) << oneRate.problem;
    ASSERT_EQ(oneRate.invoice->vatBreakdown.size(), 1u);
    EXPECT_EQ(oneRate.invoice->vatBreakdown[0].basisCents, 7009);
    EXPECT_EQ(oneRate.invoice->vatBreakdown[0].taxCents, 1140 + 192);
    EXPECT_EQ(oneRate.invoice->deliveryDate, "20070103");
}

TEST(EInvoice, AnExemptBusinessStatesItsReasonAndNoTax) {
    FormDocument form = twoRateInvoice();
    form.items.resize(2);
    form.itemCount = 2;
    BusinessDetails details = business();
    details.vat = "exempt";
    details.exemptionReason = "Exempt as a small business.";
    const EInvoiceResult result = eInvoice(form, details);
    ASSERT_TRUE(result.invoice) << result.problem;
    ASSERT_EQ(result.invoice->vatBreakdown.size(), 1u);
    const EInvoiceVatBreakdown& entry = result.invoice->vatBreakdown[0];
    EXPECT_EQ(entry.vat.code, "E");
    EXPECT_EQ(entry.basisCents, 5999);
    EXPECT_EQ(entry.taxCents, 0);
    EXPECT_EQ(entry.exemptionReason, "Exempt as a small business.");
    EXPECT_EQ(result.invoice->lines[1].vat.code, "E");
    EXPECT_EQ(result.invoice->grandTotalCents, 5999);
}

TEST(EInvoice, WhatCannotBeSaidIsNamed) {
    using FormChange = std::function<void(FormDocument&)>;
    using DetailsChange = std::function<void(BusinessDetails&)>;
    const auto items = [](std::vector<Item> rows) {
        return [rows](FormDocument& form) {
            form.items.clear();
            form.itemCount = 0;
            testing::addItems(form, rows);
        };
    };
    const FormChange same = [](FormDocument&) {};
    const DetailsChange unchanged = [](BusinessDetails&) {};
    const struct {
        const char* what;
        FormChange changeForm;
        DetailsChange changeDetails;
        std::string problem;
    } cases[] = {
        {"a receipt", [](FormDocument& f) { f.formType = kReceipt; }, unchanged,
         "Only an invoice can be an e-invoice, and this form is a receipt."},
        {"no number, buyer's country or currency",
         [](FormDocument& f) { f.number = " ", f.buyer.country.clear(); },
         [](BusinessDetails& d) { d.currency.clear(); },
         "An e-invoice needs the invoice number, the currency (Business Details) and the "
         "buyer's country (Buyer Details)."},
        {"no seller's country", same, [](BusinessDetails& d) { d.country.clear(); },
         "An e-invoice needs the seller's country (Business Details)."},
        {"no identifier at all", same, [](BusinessDetails& d) { d.vatId.clear(); },
         "An e-invoice needs a VAT ID, or else a tax number and a seller identifier (Business "
         "Details)."},
        {"a tax number alone", same,
         [](BusinessDetails& d) { d.vatId.clear(), d.taxNumber = "12/345/67890"; },
         "An e-invoice needs a VAT ID or a seller identifier beside the tax number (Business "
         "Details)."},
        {"no due date or terms", [](FormDocument& f) { f.dueDate.clear(); },
         [](BusinessDetails& d) { d.paymentTerms.clear(); },
         "An e-invoice needs a due date or payment terms."},
        {"a buyer reference without what XRechnung needs",
         [](FormDocument& f) { f.buyer.reference = "04011000-12345-34"; }, unchanged,
         "An XRechnung (which the buyer reference asks for) needs the seller's e-mail (Business "
         "Details), the seller's contact person (Business Details), the seller's phone "
         "(Business Details), the buyer's postcode (Buyer Details), the buyer's city (Buyer "
         "Details) and the buyer's e-mail (Buyer Details)."},
        {"a tax row without a rate", items({{"", "Mowing", "40"}, {"", "Tax", "3"}}), unchanged,
         "Item 2 (\xE2\x80\x9CTax\xE2\x80\x9D) states no VAT rate, so the e-invoice cannot say "
         "which VAT it is: write the rate into it, as in \xE2\x80\x9CTax (19%)\xE2\x80\x9D."},
        {"a tax on a tax",
         items({{"", "Mowing", "40"}, {"", "Tax (10%)", ""}, {"", "Tax (5%)", ""}}), unchanged,
         "Item 3 (\xE2\x80\x9CTax (5%)\xE2\x80\x9D) taxes the tax of item 2, which an e-invoice "
         "cannot say: a Subtotal row after item 2 makes the next tax row tax only the items "
         "after it."},
        {"an item after the last tax row",
         items({{"", "Mowing", "40"}, {"", "Tax (10%)", ""}, {"", "Delivery", "5"}}), unchanged,
         "Item 3 (\xE2\x80\x9C"
         "Delivery\xE2\x80\x9D) is taxed by no tax row, while other items are: an e-invoice puts "
         "every item under one VAT rate."},
        {"no tax row", items({{"", "Mowing", "40"}}), unchanged,
         "The invoice has no tax row, so it does not say its VAT: add one such as "
         "\xE2\x80\x9CTax (19%)\xE2\x80\x9D, or mark the business as exempt from VAT in Business "
         "Details."},
        {"a tax row above every item", items({{"", "Tax (19%)", ""}, {"", "Mowing", "40"}}),
         unchanged, "Item 1 (\xE2\x80\x9CTax (19%)\xE2\x80\x9D) taxes no items."},
        {"an item without a name", items({{"", "", "40"}, {"", "Tax (19%)", ""}}), unchanged,
         "Item 1 has no description, which a line of an e-invoice needs."},
        {"a tax row when exempt", same,
         [](BusinessDetails& d) { d.vat = "exempt", d.exemptionReason = "Exempt."; },
         "Item 3 (\xE2\x80\x9CTax (19%)\xE2\x80\x9D) is a tax row, but the business details say "
         "the business is exempt from VAT."},
        {"only computed rows", items({{"", "Subtotal", ""}}), unchanged,
         "The invoice has no items, only computed rows."},
    };
    for (const auto& c : cases) {
        FormDocument form = twoRateInvoice();
        BusinessDetails details = business();
        c.changeForm(form);
        c.changeDetails(details);
        const EInvoiceResult result = eInvoice(form, details);
        EXPECT_FALSE(result.invoice) << c.what;
        EXPECT_EQ(result.problem, c.problem) << c.what;
    }
}

TEST(EInvoice, XmlEscapesTextAndNamesItsStandard) {
    FormDocument form = twoRateInvoice();
    form.addresseeLines[0] = "Lee & Sons <\"B\">\x01 \xE7\x8E\x8B\xE8\x8A\xB3"; // 王芳
    editItem(form, 2).cost = "-19.99";                                          // a credit
    form.notes = "Thanks\r\nAnn";
    const EInvoiceResult result = eInvoice(form);
    ASSERT_TRUE(result.invoice) << result.problem;
    std::string xml = ciiXml(*result.invoice);
    EXPECT_TRUE(contains(xml, "<ram:Name>Lee &amp; Sons &lt;&quot;B&quot;&gt; "
                              "\xE7\x8E\x8B\xE8\x8A\xB3</ram:Name>"))
        << "markup escaped, a control character left out, other scripts as they are";
    EXPECT_TRUE(contains(xml, "<ram:Content>Thanks&#13;\nAnn</ram:Content>"));
    EXPECT_TRUE(contains(xml, "<ram:ChargeAmount>19.99</ram:ChargeAmount>"));
    EXPECT_TRUE(contains(xml, "<ram:BilledQuantity unitCode=\"C62\">-1</ram:BilledQuantity>"));
    EXPECT_TRUE(contains(xml, "<ram:LineTotalAmount>-19.99</ram:LineTotalAmount>"));
    EXPECT_TRUE(contains(xml, "<ram:ID>urn:cen.eu:en16931:2017</ram:ID>"));
    EXPECT_FALSE(contains(xml, "BusinessProcess"));
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u);

    // A buyer reference makes it an XRechnung, with its process and guideline.
    form.buyer = {"DE", "10115", "Berlin", "Main St 1", "", "04011000-12345-34", "in@lee.example"};
    BusinessDetails details = business();
    details.email = "ann@garden.example";
    details.contact = "Ann";
    details.phone = "+49 30 1234";
    const EInvoiceResult xrechnung = eInvoice(form, details);
    ASSERT_TRUE(xrechnung.invoice) << xrechnung.problem;
    EXPECT_EQ(eInvoiceStandardName(*xrechnung.invoice), "XRechnung 3.0");
    xml = ciiXml(*xrechnung.invoice);
    EXPECT_TRUE(contains(xml, "<ram:ID>urn:fdc:peppol.eu:2017:poacc:billing:01:1.0</ram:ID>"));
    EXPECT_TRUE(contains(xml, "<ram:ID>urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:"
                              "xrechnung_3.0</ram:ID>"));
    EXPECT_TRUE(contains(xml, "<ram:BuyerReference>04011000-12345-34</ram:BuyerReference>"));
    EXPECT_TRUE(contains(xml, "<ram:URIID schemeID=\"EM\">in@lee.example</ram:URIID>"));
}

// A long invoice's XML comes in pieces of about 64 kB that make up the
// whole; once the sink has failed, no more are made.
TEST(EInvoice, XmlComesInPiecesThatMakeUpTheWhole) {
    FormDocument form = twoRateInvoice();
    form.items.clear();
    form.itemCount = 0;
    std::vector<Item> items;
    for (int i = 0; i < 300; ++i)
        items.push_back({"", "Bulbs & seeds, box " + std::to_string(i), "3.25"});
    items.push_back({"", "Tax (19%)", ""});
    testing::addItems(form, items);
    const EInvoiceResult result = eInvoice(form);
    ASSERT_TRUE(result.invoice) << result.problem;
    const std::string whole = ciiXml(*result.invoice);

    std::vector<std::string> pieces;
    writeCiiXml(*result.invoice, [&pieces](std::string_view piece) {
        pieces.emplace_back(piece);
        return true;
    });
    ASSERT_GT(pieces.size(), 3u) << whole.size() << " bytes";
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_LT(piece.size(), size_t{80} * 1024);
        joined += piece;
    }
    EXPECT_TRUE(joined == whole);

    size_t offered = 0;
    writeCiiXml(*result.invoice, [&offered](std::string_view) {
        ++offered;
        return false; // a full disk
    });
    EXPECT_EQ(offered, 1u);
}

} // namespace plaxet
