#include "output/rtf_writer.h"

#include "form_builder.h"
#include "output/totals.h"
#include "runtime/codepage.h"
#include "runtime/file.h"
#include "temp_folder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#ifdef _WIN32
#include "runtime/wide.h"

#include <richedit.h>
#include <windows.h>
#endif

namespace plaxet {
namespace {

// The document written at `path` as Create Files writes it.
ReplaceResult writeRtf(const FormDocument& form, const std::string& path) {
    const DocumentValues values = documentValues(form);
    return replaceFilesTogether({rtfDocumentFile(form, values, {}, path)});
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

std::string written(FormDocument form, uint32_t codePage = 1252) {
    DocumentSettings settings;
    settings.codePage = codePage;
    return rtfDocument(form, documentValues(form), settings);
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

TEST(RtfWriter, AnInvoiceWithTaxDetailsSaysThemBesideTheAddresseeAndBelowTheText) {
    const FormDocument form = testing::numberedGardenInvoice();
    const std::string document =
        rtfDocument(form, documentValues(form, testing::gardenBusiness()), {});
    EXPECT_EQ(
        testing::missingInOrder(
            linesOf(document),
            {R"(1 Elm St\tab Invoice No. 2007-0042\line)",
             R"(Springfield\tab January 5, 2007\line)",
             R"(555 0199\tab Due by February 4, 2007\line)", R"({\b0 VAT ID: DE123456789}\line)",
             R"({\b0 Your reference: PO 77}\line)",
             R"({\pard\fs20\b\line Please remit the total amount due.\par})",
             R"({\pard\fs20 Payable within 30 days.\par})", R"({\pard\fs20\b\line Thank you\par})",
             R"(\par\pard\qc\fs16\line)", R"(Ann's Garden Ltd, 2 Oak Rd, 10115 Berlin, DE\line)",
             R"(VAT ID: DE987654321\line)",
             R"(IBAN: DE89370400440532013000, BIC: COBADEFFXXX\line)", "}"}),
        "");
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
    // The nearest letter follows as an escape, so it can never join the
    // number; ễ has "e" as its nearest letter on Linux, "?" on Windows.
    const std::string_view nameLine = lines[6];
    EXPECT_TRUE(nameLine == R"(\u321\'4cukasz Nguy\u7877\'65n \u29579?\u-32077?\line)" ||
                nameLine == R"(\u321\'4cukasz Nguy\u7877?n \u29579?\u-32077?\line)")
        << nameLine;
    EXPECT_EQ(lines[7], R"(K\'f6ln\tab soon \{tm\}\line)");
    EXPECT_EQ(lines[22], R"({\pard\intbl\fs20 \{1/2\}\cell})");
    EXPECT_EQ(lines[23], R"({\pard\intbl\fs20 Caf\'e9 \'80 100%\cell})");
    EXPECT_EQ(lines[37], R"(C:\\forms\\\{a\}\line)");
    EXPECT_EQ(lines[38], R"(\'ff\line)");
}

// Text that a reader without Unicode would misread: characters outside the
// code page followed by a letter, a digit and a blank, beyond the first plane too.
const std::string kAwkwardText = "\xE2\x80\x83x\xE2\x80\x83"
                                 "7\xE2\x80\x83 |" // U+2003 em space
                                 "\xE2\x82\x81x\xE2\x82\x81"
                                 "7\xE2\x82\x81 |" // U+2081 subscript one
                                 "\xEF\xBC\x91x\xEF\xBC\x91"
                                 "7\xEF\xBC\x91 |" // U+FF11 full-width one
                                 "\xF0\x9D\x9F\x8Fx\xF0\x9D\x9F\x8F"
                                 "7\xF0\x9D\x9F\x8F |"                 // U+1D7CF
                                 "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"; // Zażółć

// The header names the code page the document's bytes are in.
TEST(RtfWriter, TheHeaderNamesTheCodePageOfItsBytes) {
    const uint32_t previous = codePageInUse();
    FormDocument form = gardenInvoice();
    editItem(form, 1).description = kAwkwardText;
    const struct {
        uint32_t codePage;
        const char* header;
        const char* zazolc; // how the Polish word is written
    } cases[] = {
        {1252, R"(\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 MS Sans Serif;}})",
         R"(\'f3\u322)"}, // ó in the code page, ł not
        {1250, R"(\ansi\ansicpg1250\deff0{\fonttbl{\f0\fnil\fcharset238 MS Sans Serif;}})",
         R"(Za\'bf\'f3\'b3\'e6)"},
        {kUtf8CodePage, R"(\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 MS Sans Serif;}})",
         R"(Za\u380?\u243?\u322?\u263?)"},
    };
    for (const auto& c : cases) {
        if (!useCodePage(c.codePage)) {
            ADD_FAILURE() << "code page " << c.codePage << " cannot be converted here";
            continue;
        }
        const std::string document = written(form, c.codePage);
        EXPECT_EQ(linesOf(document)[0], std::string("{\\rtf1") + c.header) << c.codePage;
        EXPECT_NE(document.find(c.zazolc), std::string::npos) << c.codePage << "\n" << document;
        // No bare digit or blank ever follows a Unicode escape's number.
        for (size_t at = document.find("\\u"); at != std::string::npos;
             at = document.find("\\u", at + 2)) {
            size_t end = at + 2;
            if (end < document.size() && document[end] == '-') ++end;
            while (end < document.size() && std::isdigit(static_cast<unsigned char>(document[end])))
                ++end;
            if (end == at + 2) continue; // \ul and the like
            EXPECT_TRUE(document[end] == '?' || document.compare(end, 2, "\\'") == 0)
                << c.codePage << ": " << document.substr(at, 12);
        }
    }
    ASSERT_TRUE(useCodePage(previous));
}

#ifdef _WIN32
namespace {

// The document handed to the rich edit control as it asks for it.
struct DocumentReading {
    const std::string* bytes;
    size_t at = 0;
};

DWORD CALLBACK readDocument(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
    auto* reading = reinterpret_cast<DocumentReading*>(cookie);
    const size_t count =
        std::min(static_cast<size_t>(wanted), reading->bytes->size() - reading->at);
    std::memcpy(buffer, reading->bytes->data() + reading->at, count);
    reading->at += count;
    *got = static_cast<LONG>(count);
    return 0;
}

} // namespace

// A word processor's reader: the system's rich edit control loads each
// document and gives back its text, which must be the text as typed.
TEST(RtfWriter, AWordProcessorReadsTheTextAsTyped) {
    const uint32_t previous = codePageInUse();
    ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
    FormDocument form = gardenInvoice();
    editItem(form, 1).description = kAwkwardText;
    for (const uint32_t codePage : {1252u, 1250u, kUtf8CodePage}) {
        ASSERT_TRUE(useCodePage(codePage)) << codePage;
        const std::string document = written(form, codePage);
        HWND edit = CreateWindowExW(0, L"RichEdit20W", L"", ES_MULTILINE, 0, 0, 400, 300, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        DocumentReading reading{&document};
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&reading);
        stream.pfnCallback = readDocument;
        SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        DestroyWindow(edit);
        EXPECT_NE(text.find(toWide(kAwkwardText)), std::wstring::npos)
            << "code page " << codePage << " read back as: " << fromWide(text);
        EXPECT_NE(text.find(L"Garden"), std::wstring::npos) << codePage;
    }
    ASSERT_TRUE(useCodePage(previous));
}
#endif

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
    EXPECT_EQ(readWholeFile(path), rtfDocument(form, documentValues(form), {}));
    EXPECT_TRUE(isReadOnly(path));

    // The earlier document is read-only; writing again replaces it.
    form.addresseeLines[0] = "Carol Day";
    result = writeRtf(form, path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readWholeFile(path), rtfDocument(form, documentValues(form), {}));
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
