#include "output/rtf_writer.h"

#include "form_builder.h"
#include "output/totals.h"
#include "runtime/file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

// The document written at `path` as Create Files writes it.
ReplaceResult writeRtf(const FormDocument& form, const std::string& path) {
    const DocumentValues values = documentValues(form);
    return replaceFilesTogether({rtfDocumentFile(form, values, path)});
}

using testing::append;
using testing::documentOf;
using testing::gardenInvoice;
using testing::linesOf;

const std::string kBorders = R"(\clbrdrt\brdrw10\brdrs\clbrdrl\brdrw10\brdrs)"
                             R"(\clbrdrb\brdrw10\brdrs\clbrdrr\brdrw10\brdrs)";

std::vector<std::string> rowStart(const std::string& definition = R"(\trowd\trgaph180)") {
    return {definition, kBorders + R"(\cellx1600)", kBorders + R"(\cellx7200)",
            kBorders + R"(\cellx9000)"};
}

std::string written(FormDocument form) {
    return rtfDocument(form, documentValues(form));
}

} // namespace

TEST(RtfWriter, GardenInvoiceByteForByte) {
    ASSERT_EQ(kBorders.size(), 88u);
    const std::string expected = documentOf({
        R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 MS Sans Serif;}})",
        R"({\pard \fs24 \qc \b \sl300\slmult1)",
        R"(Ann's Garden\line)",
        R"(\par})",
        R"({\pard \tx7000 \fs22 \b)",
        R"(Bob Lee\tab {\fs24INVOICE\line})",
        R"(1 Elm St\line)",
        R"(Springfield\tab January 5, 2007\line)",
        R"(555 0199\line)",
        R"(\line \par})",
        R"(\trowd\trgaph180\fs22\b)",
        kBorders + R"(\cellx1600)",
        kBorders + R"(\cellx7200)",
        kBorders + R"(\cellx9000)",
        R"({\pard\intbl\qc\b Date\cell})",
        R"({\pard\intbl\qc\b Description\cell})",
        R"({\pard\intbl\qc\b Cost\cell})",
        R"(\row)",
        R"(\trowd\trgaph180)",
        kBorders + R"(\cellx1600)",
        kBorders + R"(\cellx7200)",
        kBorders + R"(\cellx9000)",
        R"({\pard\intbl\fs20 01/02/2007\cell})",
        R"({\pard\intbl\fs20 Mowing\cell})",
        R"({\pard\intbl\fs20\qr 40.00\cell})",
        R"(\row)",
        R"(\trowd\trgaph180)",
        kBorders + R"(\cellx1600)",
        kBorders + R"(\cellx7200)",
        kBorders + R"(\cellx9000)",
        R"({\pard\intbl \cell})",
        R"({\pard\intbl\qr\b Total due\cell})",
        R"({\pard\intbl\qr\b 40.00\cell})",
        R"(\row)",
        R"({\pard\fs20\b\line Please remit the total amount due.\par})",
        R"({\pard\fs20\b\line Thank you\par})",
        R"(\pard\fs16\line\line)",
        R"(\line)",
        R"(})",
    });
    const std::string document = written(gardenInvoice());
    EXPECT_EQ(document, expected);
    EXPECT_EQ(linesOf(document).size(), 39u);
    EXPECT_EQ(written(gardenInvoice()), document); // the same form gives the same bytes
}

TEST(RtfWriter, SixSenderLinesAndTwentyItems) {
    FormDocument form;
    form.formType = kEstimate;
    form.senderLines = {"S1", "S2", "S3", "S4", "S5", "S6"};
    form.addresseeLines = {"Name", "Street", "Town", "Phone"};
    setFormDate(form, "12/24/2023");
    std::vector<Item> items;
    for (int k = 1; k <= 18; ++k)
        items.push_back({"01/" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "/2024",
                         "Item " + std::to_string(k), std::to_string(k)});
    items.push_back({"", "  Subtotal ", ""});
    items.push_back({"", "Tax (10%)", ""});
    testing::addItems(form, items);

    std::vector<std::string> expected = {
        R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 MS Sans Serif;}})",
        R"({\pard \fs24 \qc \b \sl300\slmult1)",
        R"(S1\line)",
        R"(S2\line)",
        R"(S3\line)",
        R"(S4\line)",
        R"(S5\line)",
        R"(S6\line)",
        R"(\par})",
        R"({\pard \tx7000 \fs22 \b)",
        R"(Name\tab {\fs24ESTIMATE\line})",
        R"(Street\line)",
        R"(Town\tab December 24, 2023\line)",
        R"(Phone\line)",
        R"(\line \par})",
    };
    append(expected, rowStart(R"(\trowd\trgaph180\fs22\b)"));
    append(expected, {R"({\pard\intbl\qc\b Date\cell})", R"({\pard\intbl\qc\b Description\cell})",
                      R"({\pard\intbl\qc\b Cost\cell})", R"(\row)"});
    for (const Item& item : std::vector<Item>(items.begin(), items.end() - 2)) {
        append(expected, rowStart());
        append(expected, {R"({\pard\intbl\fs20 )" + item.date + R"(\cell})",
                          R"({\pard\intbl\fs20 )" + item.description + R"(\cell})",
                          R"({\pard\intbl\fs20\qr )" + item.cost + R"(.00\cell})", R"(\row)"});
    }
    append(expected, rowStart());
    append(expected, {R"({\pard\intbl\fs20 \cell})", R"({\pard\intbl\fs20\qr Subtotal\cell})",
                      R"({\pard\intbl\fs20\qr 171.00\cell})", R"(\row)"});
    append(expected, rowStart());
    append(expected, {R"({\pard\intbl\fs20 \cell})", R"({\pard\intbl\fs20\qr Tax (10%)\cell})",
                      R"({\pard\intbl\fs20\qr 17.10\cell})", R"(\row)"});
    append(expected, rowStart());
    append(expected,
           {R"({\pard\intbl \cell})", R"({\pard\intbl\qr\b Estimated total\cell})",
            R"({\pard\intbl\qr\b 188.10\cell})", R"(\row)",
            R"({\pard\fs20\b\line This is an estimate of the proposed sales and )"
            R"(services\par})",
            R"({\pard\fs20\b\line Thank you\par})", R"(\pard\fs16\line\line)", R"(\line)", R"(})"});
    EXPECT_EQ(written(form), documentOf(expected));
}

TEST(RtfWriter, SenderCostsReceiptsAndNotes) {
    // Sender lines end at the first empty one.
    FormDocument form = gardenInvoice();
    form.senderLines = {"One", "", "Three", "", "", ""};
    std::vector<std::string> lines = linesOf(written(form));
    EXPECT_EQ(lines[2], R"(One\line)");
    EXPECT_EQ(lines[3], R"(\par})");
    form.senderLines = {};
    lines = linesOf(written(form));
    EXPECT_EQ(lines[2], R"(\par})");

    // Costs print as money text; computed descriptions are trimmed and right-aligned.
    form = gardenInvoice();
    testing::addItems(form, {{"", "blank cost", ""},
                             {"", "half", "12.5"},
                             {"", "refund", "-5"},
                             {"", "odd", "abc"},
                             {"", "  Subtotal ", ""},
                             {"", " plain words ", "1"}});
    lines = linesOf(written(form));
    auto cellsOfItem = [&lines](size_t item) {
        const size_t first = 18 + (item - 1) * 8 + 4;
        return std::vector<std::string>(lines.begin() + static_cast<long>(first),
                                        lines.begin() + static_cast<long>(first + 3));
    };
    EXPECT_EQ(cellsOfItem(2)[2], R"({\pard\intbl\fs20\qr 0.00\cell})");
    EXPECT_EQ(cellsOfItem(3)[2], R"({\pard\intbl\fs20\qr 12.50\cell})");
    EXPECT_EQ(cellsOfItem(4)[2], R"({\pard\intbl\fs20\qr -5.00\cell})");
    EXPECT_EQ(cellsOfItem(5)[2], R"({\pard\intbl\fs20\qr 0.00\cell})");
    EXPECT_EQ(cellsOfItem(6)[1], R"({\pard\intbl\fs20\qr Subtotal\cell})");
    EXPECT_EQ(cellsOfItem(6)[2], R"({\pard\intbl\fs20\qr 47.50\cell})");
    EXPECT_EQ(cellsOfItem(7)[1], R"({\pard\intbl\fs20 plain words\cell})");

    // No items: the header row and the totals row only. A receipt's totals
    // row prints the amount paid.
    form = gardenInvoice();
    form.itemCount = 0;
    form.formType = kReceipt;
    form.amountPaid = "25";
    form.notes = "first\r\nsecond\r\nthird";
    lines = linesOf(written(form));
    ASSERT_EQ(lines.size(), 18u + 8u + 3u + 3u + 1u);
    EXPECT_EQ(lines[18], R"(\trowd\trgaph180)");
    EXPECT_EQ(lines[23], R"({\pard\intbl\qr\b Total paid\cell})");
    EXPECT_EQ(lines[24], R"({\pard\intbl\qr\b 25.00\cell})");
    EXPECT_EQ(lines[26], R"({\pard\fs20\b\line Overpaid 25.00, please contact us\par})");
    EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
              (std::vector<std::string>{R"(\pard\fs16\line\line)", R"(first\line)",
                                        R"(second\line)", R"(third\line)", "}"}));
}

TEST(RtfWriter, FormTextsAreEscaped) {
    FormDocument form = gardenInvoice();
    form.senderLines[0] = "Ann's {Garden}";
    form.addresseeLines[0] = "Ren\xC3\xA9 \\ Co";
    form.addresseeLines[2] = "K\xC3\xB6ln";
    // "Łukasz Nguyễn 王芳": outside the code page, with its nearest letters.
    form.addresseeLines[1] = "\xC5\x81ukasz Nguy\xE1\xBB\x85n \xE7\x8E\x8B\xE8\x8A\xB3";
    editItem(form, 1).date = "{1/2}";
    editItem(form, 1).description = "Caf\xC3\xA9 \xE2\x82\xAC 100%";
    setFormDate(form, "soon {tm}");
    form.notes = "C:\\forms\\{a}\r\n\xC3\xBF";
    const std::vector<std::string> lines = linesOf(written(form));
    EXPECT_EQ(lines[2], R"(Ann's \{Garden\}\line)");
    EXPECT_EQ(lines[5], R"(Ren\'e9 \\ Co\tab {\fs24INVOICE\line})");
    // ễ has "e" as its nearest letter on Linux, "?" on Windows.
    const std::string_view nameLine = lines[6];
    EXPECT_TRUE(nameLine.starts_with(R"(\u321Lukasz Nguy\u7877)")) << nameLine;
    EXPECT_TRUE(nameLine.ends_with(R"(n \u29579?\u-32077?\line)")) << nameLine;
    EXPECT_EQ(nameLine.size(), 47u) << "one character after \\u7877";
    EXPECT_EQ(lines[7], R"(K\'f6ln\tab soon \{tm\}\line)");
    EXPECT_EQ(lines[22], R"({\pard\intbl\fs20 \{1/2\}\cell})");
    EXPECT_EQ(lines[23], R"({\pard\intbl\fs20 Caf\'e9 \'80 100%\cell})");
    EXPECT_EQ(lines[37], R"(C:\\forms\\\{a\}\line)");
    EXPECT_EQ(lines[38], R"(\'ff\line)");
}

TEST(RtfWriter, GapsBetweenItemsAreClosedNotDropped) {
    FormDocument form = gardenInvoice();
    testing::addItems(
        form, {{"", "", ""}, {"", "Hedge", "10"}, {"03/01/2007", "", " "}, {"", "Tax (10%)", ""}});
    recountItems(form);
    ASSERT_EQ(form.itemCount, 3);
    const std::vector<std::string> lines = linesOf(written(form));
    EXPECT_EQ(lines[23], R"({\pard\intbl\fs20 Mowing\cell})");
    EXPECT_EQ(lines[31], R"({\pard\intbl\fs20 Hedge\cell})");
    EXPECT_EQ(lines[39], R"({\pard\intbl\fs20\qr Tax (10%)\cell})");
    EXPECT_EQ(lines[40], R"({\pard\intbl\fs20\qr 5.00\cell})");
    EXPECT_EQ(lines[48], R"({\pard\intbl\qr\b 55.00\cell})");
}

TEST(RtfWriter, WritesReadOnlyAndReplacesAnEarlierDocument) {
    testing::TempFolder folder;
    const std::string path = folder.file("garden.rtf");
    FormDocument form = gardenInvoice();
    ReplaceResult result = writeRtf(form, path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readWholeFile(path), rtfDocument(form, documentValues(form)));
    EXPECT_TRUE(isReadOnly(path));

    // The earlier document is read-only; writing again replaces it.
    form.addresseeLines[0] = "Carol Day";
    result = writeRtf(form, path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readWholeFile(path), rtfDocument(form, documentValues(form)));
    EXPECT_TRUE(isReadOnly(path));
}

TEST(RtfWriter, AFailedWriteIsReportedAndHarmsNothing) {
    testing::TempFolder folder;
    const std::string earlier = folder.file("garden.rtf");
    FormDocument form = gardenInvoice();
    ASSERT_TRUE(writeRtf(form, earlier).ok);
    const std::string before = readWholeFile(earlier).value_or("");

    form.addresseeLines[0] = "Carol Day";
    const std::string missing = folder.file("no such folder") + "/garden.rtf";
    const ReplaceResult result = writeRtf(form, missing);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_FALSE(fileExists(missing));
    EXPECT_EQ(readWholeFile(earlier), before);

    // A folder standing where the document should go is not replaced either.
    const std::string folderInTheWay = folder.file("in the way.rtf");
    ASSERT_TRUE(createFolder(folderInTheWay));
    EXPECT_FALSE(writeRtf(form, folderInTheWay).ok);
    EXPECT_TRUE(folderExists(folderInTheWay));
}

} // namespace plaxet
