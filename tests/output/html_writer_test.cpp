#include "output/html_writer.h"

#include "form_builder.h"
#include "output/totals.h"
#include "runtime/file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace plaxet {
namespace {

// The document written at `path` as Create Files writes it.
ReplaceResult writeHtml(const FormDocument& form, const std::string& path) {
    const DocumentValues values = documentValues(form);
    return replaceFilesTogether({htmlDocumentFile(form, values, {}, path)});
}

using testing::append;
using testing::documentOf;
using testing::gardenInvoice;
using testing::linesOf;

// The head of the page up to the style block's end, for the given block tops.
std::vector<std::string> head(const std::string& title, const std::string& top2,
                              const std::string& top4, const std::string& top5) {
    return {
        "<!DOCTYPE html>",
        "<html>",
        "<head>",
        "  <title>" + title + "</title>",
        R"(  <meta name="format-detection" content="telephone=no">)",
        R"(  <style type="text/css">)",
        "    div {",
        "       position: absolute;",
        "       width: 250px;",
        "       height: 100px;",
        "       color: black;",
        "       background-color: white;",
        "       font-weight: bold;",
        "       text-align: center;",
        "    }",
        "     div#d1 {",
        "       left: 250px;",
        "       top: 0px;",
        "       margin-left: 25px;",
        "       font-size: 20px;",
        "    }",
        "     div#d2 {",
        "       left: 0px;",
        "       top:  " + top2 + "px;",
        "       text-align: left;",
        "       margin-left: 15px;",
        "       font-size: 16px;",
        "    }",
        "     div#d3 {",
        "       left: 500px;",
        "       top:  " + top2 + "px;",
        "       text-align: right;",
        "       font-size: 20px;",
        "    }",
        "     div#d4 {",
        "       left: 15px;",
        "       top:  " + top4 + "px;",
        "       width: 750px;",
        "    }",
        "     table,tr,th,td{",
        "       border: 1px solid black;",
        "       border-collapse: collapse;",
        "       padding: 3px;",
        "       height: 20px;",
        "    }",
        "     td#left{text-align: left;}",
        "     td#right{text-align: right;}",
        "     tr#total{text-align: right; font-size: 20px}",
        "     div#d5 {",
        "       left: 15px;",
        "       top:  " + top5 + "px;",
        "       width: 750px;",
        "       text-align: left;",
        "       font-size: 15px;",
        "     }",
        "     h3 {font-size:16px};",
        "  </style>",
        "</head>",
        "<body>",
    };
}

std::string written(FormDocument form) {
    return htmlDocument(form, documentValues(form));
}

// The lines of one block, from its opening tag to its closing one.
std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& id) {
    auto first = std::find(lines.begin(), lines.end(), "  <div id=\"" + id + "\">");
    auto last = std::find(first, lines.end(), "  </div>");
    return last == lines.end() ? std::vector<std::string>{}
                               : std::vector<std::string>(first + 1, last);
}

} // namespace

TEST(HtmlWriter, GardenInvoiceByteForByte) {
    std::vector<std::string> expected = head("Invoice", "42", "162", "263");
    append(expected, {
                         R"(  <div id="d1">)",
                         "    Ann's Garden<br />",
                         "  </div>",
                         R"(  <div id="d2">)",
                         "Bob Lee<br />",
                         "1 Elm St<br />",
                         "Springfield<br />",
                         "555 0199",
                         "  </div>",
                         R"(  <div id="d3">)",
                         "INVOICE<br />",
                         "    <h3>January 5, 2007",
                         "  </div>",
                         R"(  <div id="d4">)",
                         "  <table>",
                         "    <tr>",
                         R"(      <th style="width:150px;">Date</th>)",
                         R"(      <th style="width:475px;">Description</th>)",
                         R"(      <th style="width:150px;">Cost</th>)",
                         "    </tr>",
                         "    <tr>",
                         "      <td>01/02/2007</td>",
                         R"(      <td id="left">Mowing</td>)",
                         R"(      <td id="right">40.00</td>)",
                         "    </tr>",
                         R"(    <tr id="total">)",
                         "      <td></td>",
                         R"(      <td id="right">Total due</td>)",
                         "      <td>  40.00</td>",
                         "    </tr>",
                         "  </table>",
                         "  </div>",
                         R"(  <div id="d5">)",
                         "  <p>Please remit the total amount due.<br/>",
                         "     Thank you</p>",
                         R"(  <p style="font-size:12px;">)",
                         "<br/>",
                         "  </p>                                 ",
                         "  </div>",
                         "</body>",
                         "</html>",
                     });
    ASSERT_EQ(expected.size(), 100u);
    ASSERT_EQ(expected[96].size(), 39u);
    const std::string document = written(gardenInvoice());
    EXPECT_EQ(document, documentOf(expected));
    EXPECT_EQ(written(gardenInvoice()), document);
}

TEST(HtmlWriter, AnInvoiceWithTaxDetailsSaysThemBesideTheAddresseeAndBelowTheText) {
    const FormDocument form = testing::numberedGardenInvoice();
    const std::string page = htmlDocument(form, documentValues(form, testing::gardenBusiness()));
    EXPECT_EQ(
        testing::missingInOrder(
            linesOf(page),
            {"555 0199", R"(<br /><span style="font-weight: normal;">VAT ID: DE123456789</span>)",
             R"(<br /><span style="font-weight: normal;">Your reference: PO 77</span>)",
             "  <div id=\"d3\">", "INVOICE<br />",
             R"(    <span style="font-size: 16px;">Invoice No. 2007-0042</span><br />)",
             "    <h3>January 5, 2007", "    <br />Due by February 4, 2007",
             "  <p>Please remit the total amount due.<br/>",
             R"(     <span style="font-weight: normal;">Payable within 30 days.</span><br/>)",
             "     Thank you</p>",
             R"(  <p style="font-size:12px; font-weight: normal; text-align: center;">)",
             "Ann's Garden Ltd, 2 Oak Rd, 10115 Berlin, DE<br/>", "VAT ID: DE987654321<br/>",
             "IBAN: DE89370400440532013000, BIC: COBADEFFXXX<br/>", "  </p>", "</html>"}),
        "");
}

// The picture's rectangles are the code's dark modules, four modules in
// from the picture's edge, and "Scan to pay" stands under it, above the footer.
TEST(HtmlWriter, AnInvoiceInEurosShowsItsPaymentCodeAboveTheFooter) {
    const FormDocument form = testing::numberedGardenInvoice();
    BusinessDetails business = testing::gardenBusiness();
    EXPECT_EQ(htmlDocument(form, documentValues(form, business)).find("<svg"), std::string::npos);
    business.currency = "EUR";
    const DocumentValues values = documentValues(form, business);
    ASSERT_TRUE(values.paymentCode.has_value());
    const QrCode& code = *values.paymentCode;
    const std::vector<std::string> lines = linesOf(htmlDocument(form, values));
    const auto svg = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.starts_with("  <svg "); });
    ASSERT_NE(svg, lines.end());
    EXPECT_EQ(
        testing::missingInOrder({lines.begin(), svg},
                                {"     Thank you</p>", "  </p>                                 ",
                                 R"(  <p style="font-size:12px; font-weight: normal;">)"}),
        "");
    EXPECT_EQ(testing::missingInOrder(
                  {svg + 1, lines.end()},
                  {"  Scan to pay</p>", "Ann's Garden Ltd, 2 Oak Rd, 10115 Berlin, DE<br/>"}),
              "");
    const std::string side = std::to_string(code.size + 8);
    EXPECT_NE(svg->find("viewBox=\"0 0 " + side + " " + side + "\""), std::string::npos);
    const size_t pathAt = svg->find("<path d=\"");
    ASSERT_NE(pathAt, std::string::npos);
    std::vector<uint8_t> drawn(code.dark.size());
    std::istringstream path(svg->substr(pathAt + 9));
    char m = 0, h = 0, v = 0, back = 0, z = 0;
    int x = 0, y = 0, run = 0, one = 0, runBack = 0;
    while (path >> m && m == 'M') {
        ASSERT_TRUE(path >> x >> y >> h >> run >> v >> one >> back >> runBack >> z);
        ASSERT_TRUE(h == 'h' && v == 'v' && one == 1 && back == 'h' && runBack == -run && z == 'z');
        ASSERT_TRUE(x >= 4 && y >= 4 && y < code.size + 4 && run > 0 && x + run <= code.size + 4);
        for (int i = 0; i < run; ++i)
            drawn[static_cast<size_t>((y - 4) * code.size + x - 4 + i)] = 1;
    }
    EXPECT_EQ(drawn, code.dark);
}

TEST(HtmlWriter, BlocksMoveWithSenderLinesAndItems) {
    FormDocument form = gardenInvoice();
    form.senderLines = {"S1", "S2", "S3", "S4", "S5", "S6"};
    for (int k = 2; k <= 20; ++k)
        testing::addItems(form, {{"", "Item " + std::to_string(k), std::to_string(k)}});
    std::vector<std::string> lines = linesOf(written(form));
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 59),
              head("Invoice", "152", "272", "886"));
    EXPECT_EQ(block(lines, "d1"),
              (std::vector<std::string>{"    S1<br />", "    S2<br />", "    S3<br />",
                                        "    S4<br />", "    S5<br />", "    S6<br />"}));
    const std::vector<std::string> table = block(lines, "d4");
    ASSERT_EQ(table.size(), 6u + 20u * 5u + 5u + 1u);
    EXPECT_EQ(table[6 + 19 * 5 + 2], R"(      <td id="left">Item 20</td>)");
    EXPECT_EQ(table[6 + 19 * 5 + 3], R"(      <td id="right">20.00</td>)");
    EXPECT_EQ(table[6 + 20 * 5 + 3], "      <td>  249.00</td>");

    // No sender line and no items.
    form = gardenInvoice();
    form.senderLines = {};
    form.itemCount = 0;
    lines = linesOf(written(form));
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 59),
              head("Invoice", "20", "140", "214"));
    EXPECT_TRUE(block(lines, "d1").empty());
    EXPECT_EQ(block(lines, "d4").size(), 6u + 5u + 1u);

    // Sender lines 1 and 3 filled: two lines counted, so lines 1 and 2 are written.
    form.senderLines = {"One", "", "Three", "", "", ""};
    lines = linesOf(written(form));
    EXPECT_EQ(block(lines, "d1"), (std::vector<std::string>{"    One<br />", "    <br />"}));
    EXPECT_EQ(lines[23], "       top:  64px;");
}

TEST(HtmlWriter, TitleCellsReceiptsAndNotes) {
    FormDocument form = gardenInvoice();
    form.formType = kReceipt;
    form.amountPaid = "30";
    testing::addItems(form, {{"", "  Tax (5%) ", ""}, {"", "no cost", ""}});
    form.notes = "first\r\nsecond";
    std::vector<std::string> lines = linesOf(written(form));
    EXPECT_EQ(lines[3], "  <title>Receipt</title>");
    const std::vector<std::string> table = block(lines, "d4");
    EXPECT_EQ(table[6 + 5 + 2], R"(      <td id="right">Tax (5%)</td>)");
    EXPECT_EQ(table[6 + 5 + 3], R"(      <td id="right">2.00</td>)");
    EXPECT_EQ(table[6 + 10 + 2], R"(      <td id="left">no cost</td>)");
    EXPECT_EQ(table[6 + 10 + 3], R"(      <td id="right">0.00</td>)");
    EXPECT_EQ(table[6 + 15 + 2], R"(      <td id="right">Total paid</td>)");
    EXPECT_EQ(table[6 + 15 + 3], "      <td>  30.00</td>");
    EXPECT_EQ(block(lines, "d5"),
              (std::vector<std::string>{"  <p>12.00 is still owed, please remit balance<br/>",
                                        "     Thank you</p>", R"(  <p style="font-size:12px;">)",
                                        "first<br/>", "second<br/>",
                                        "  </p>                                 "}));

    form.formType = kEstimate;
    EXPECT_EQ(linesOf(written(form))[3], "  <title>Estimate</title>");
}

TEST(HtmlWriter, FormTextsAreEscaped) {
    FormDocument form = gardenInvoice();
    form.senderLines[0] = "Ann & \"Bob\" <Garden>";
    form.addresseeLines[0] = "Ren\xC3\xA9";
    form.addresseeLines[3] = "<b>555</b>";
    form.addresseeLines[1] = "\xC5\x81ukasz Nguy\xE1\xBB\x85n \xE7\x8E\x8B\xE8\x8A\xB3";
    editItem(form, 1).date = "1 > 0";
    editItem(form, 1).description = "a&b \xE2\x82\xAC";
    setFormDate(form, "<soon>");
    form.notes = "&amp;\r\n\xC3\xA9";
    const std::vector<std::string> lines = linesOf(written(form));
    const std::string euro = "&#8364;";
    EXPECT_EQ(block(lines, "d1"),
              std::vector<std::string>{"    Ann &amp; &quot;Bob&quot; &lt;Garden&gt;<br />"});
    EXPECT_EQ(block(lines, "d2"),
              (std::vector<std::string>{"Ren&#233;<br />",
                                        "&#321;ukasz Nguy&#7877;n &#29579;&#33459;<br />",
                                        "Springfield<br />", "&lt;b&gt;555&lt;/b&gt;"}));
    EXPECT_EQ(block(lines, "d3")[1], "    <h3>&lt;soon&gt;");
    const std::vector<std::string> table = block(lines, "d4");
    EXPECT_EQ(table[6 + 1], "      <td>1 &gt; 0</td>");
    EXPECT_EQ(table[6 + 2], R"(      <td id="left">a&amp;b )" + euro + "</td>");
    const std::vector<std::string> closing = block(lines, "d5");
    EXPECT_EQ(closing[3], "&amp;amp;<br/>");
    EXPECT_EQ(closing[4], "&#233;<br/>");
}

TEST(HtmlWriter, WritesReadOnlyReplacesAndReportsFailure) {
    testing::TempFolder folder;
    const std::string path = folder.file("garden.htm");
    FormDocument form = gardenInvoice();
    ReplaceResult result = writeHtml(form, path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readWholeFile(path), htmlDocument(form, documentValues(form)));
    EXPECT_TRUE(isReadOnly(path));

    form.addresseeLines[0] = "Carol Day";
    result = writeHtml(form, path);
    ASSERT_TRUE(result.ok) << result.error;
    const std::string replaced = htmlDocument(form, documentValues(form));
    EXPECT_EQ(readWholeFile(path), replaced);
    EXPECT_TRUE(isReadOnly(path));

    form.addresseeLines[0] = "Dan Fox";
    const std::string missing = folder.file("no such folder") + "/garden.htm";
    result = writeHtml(form, missing);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_FALSE(fileExists(missing));
    EXPECT_EQ(readWholeFile(path), replaced);
}

} // namespace plaxet
