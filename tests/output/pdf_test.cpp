// The PDF document: the page layout's rules on the record of the values, and
// the file's structure (cross-references, compressed pages, escaped texts).
#include "output/pdf/archival.h"
#include "output/pdf/font_choice.h"
#include "output/pdf/layout.h"
#include "output/pdf/shaped_text.h"
#include "output/pdf/truetype.h"
#include "output/pdf/writer.h"

#include "form_builder.h"

#include "output/totals.h"
#include "runtime/utf8.h"

#include <gtest/gtest.h>
#include <plaxet_version.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace plaxet {
namespace {

using testing::addItems;
using testing::gardenInvoice;

const PdfCodePage& westernEncoding() {
    return *pdfCodePage(1252);
}

// The standard fonts in WinAnsiEncoding, without a font for other characters.
const PdfFonts& western() {
    static const PdfFonts fonts{&westernEncoding(), {}, {}, {}};
    return fonts;
}

// The fonts the tests hand in for the characters the standard fonts lack,
// which set-up installs (under Wine, through the drive that shows the Linux
// file system): DejaVu Sans and its bold face, and a collection with Chinese.
std::string testFontFile(const std::string& name = "dejavu/DejaVuSans.ttf") {
#ifdef _WIN32
    std::string path = "Z:\\usr\\share\\fonts\\truetype\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
#else
    return "/usr/share/fonts/truetype/" + name;
#endif
}

// Item i of a long invoice: its description names it, and every seventh one
// is long enough to wrap into several lines.
std::string descriptionOf(int i) {
    std::string text = "Item " + std::to_string(i) + " paint";
    if (i % 7 == 0) {
        text += " and a long list of brushes, rollers, tape and cloths";
        for (int k = 0; k < 12; ++k) text += " again";
    }
    return text;
}

FormDocument invoiceOf(int items) {
    FormDocument form = gardenInvoice();
    form.itemCount = 0;
    for (int i = 1; i <= items; ++i)
        addItems(form, {{"03/04/2024", descriptionOf(i), std::to_string(i) + ".50"}});
    form.notes = "First note\r\nSecond note";
    return form;
}

PdfLayout layoutOf(const FormDocument& form, PaperSize paper = PaperSize::Letter,
                   const PdfFonts& fonts = western()) {
    return pdfLayout(form, documentValues(form), fonts, paper);
}

bool onPage(const PdfPage& page, const std::string& text) {
    return std::any_of(page.texts.begin(), page.texts.end(),
                       [&](const PdfText& t) { return t.text == text; });
}

// The page's texts whose text begins with `prefix`.
std::vector<const PdfText*> startingWith(const PdfPage& page, const std::string& prefix) {
    std::vector<const PdfText*> found;
    for (const PdfText& t : page.texts)
        if (t.text.rfind(prefix, 0) == 0) found.push_back(&t);
    return found;
}

// The literal strings shown by a content stream, unescaped as a reader does.
std::vector<std::string> shownStrings(const std::string& content) {
    std::vector<std::string> strings;
    for (size_t at = 0; at < content.size(); ++at) {
        if (content[at] != '(') continue;
        std::string text;
        int depth = 1;
        for (++at; at < content.size(); ++at) {
            const char c = content[at];
            if (c == '\\') {
                const char next = content[++at];
                if (next >= '0' && next <= '7') {
                    text += static_cast<char>((next - '0') * 64 + (content[at + 1] - '0') * 8 +
                                              (content[at + 2] - '0'));
                    at += 2;
                } else {
                    text += next;
                }
            } else if (c == '(') {
                ++depth;
                text += c;
            } else if (c == ')' && --depth == 0) {
                break;
            } else {
                text += c;
            }
        }
        strings.push_back(text);
    }
    return strings;
}

// Where each shown string starts: the text moves (Td) of a content stream
// added up, outside the strings.
std::vector<std::pair<double, double>> textOrigins(const std::string& content) {
    std::vector<std::pair<double, double>> origins;
    std::vector<std::string> tokens;
    double x = 0, y = 0;
    for (size_t at = 0; at < content.size(); ++at) {
        const char c = content[at];
        if (c == '(') { // skip the string, as shownStrings reads it
            for (int depth = 1; depth > 0 && ++at < content.size();) {
                if (content[at] == '\\')
                    ++at;
                else if (content[at] == '(')
                    ++depth;
                else if (content[at] == ')')
                    --depth;
            }
            origins.emplace_back(x, y);
        } else if (c != ' ' && c != '\n') {
            size_t end = content.find_first_of(" \n(", at);
            tokens.push_back(content.substr(at, end - at));
            if (tokens.back() == "Td") {
                x += std::stod(tokens[tokens.size() - 3]);
                y += std::stod(tokens[tokens.size() - 2]);
            }
            at = end - 1;
        }
    }
    return origins;
}

std::string inflate(std::string_view packed) {
    // Room for the usual ratio, and more until it fits (an XML repeats itself far more).
    for (size_t room = packed.size() * 20 + 1024;; room *= 4) {
        std::string out(room, '\0');
        uLongf length = static_cast<uLongf>(out.size());
        const int status = uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                                      reinterpret_cast<const Bytef*>(packed.data()),
                                      static_cast<uLong>(packed.size()));
        if (status == Z_BUF_ERROR && length == room) continue;
        EXPECT_EQ(status, Z_OK);
        out.resize(length);
        return out;
    }
}

// Every page's content stream, inflated, in page order.
std::vector<std::string> pageContents(const std::string& pdf) {
    std::vector<std::string> contents;
    for (size_t at = 0;
         (at = pdf.find("/Filter /FlateDecode >>\nstream\n", at)) != std::string::npos;) {
        const size_t lengthAt = pdf.rfind("/Length ", at) + 8;
        const size_t length = std::stoul(pdf.substr(lengthAt, at - lengthAt));
        at = pdf.find("stream\n", at) + 7;
        contents.push_back(inflate(std::string_view(pdf).substr(at, length)));
        EXPECT_EQ(pdf.compare(at + length, 10, "\nendstream"), 0);
    }
    return contents;
}

} // namespace

TEST(PdfLayout, WrapsAtBlanksWithinTheWidthAndBreaksOnlyOverlongWords) {
    struct Case {
        std::string text;
        double width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 100, {""}},
        {"Mowing", 100, {"Mowing"}},
        {"aaa bbb ccc", 30, {"aaa", "bbb", "ccc"}}, // "aaa bbb" at 10 points is 36.14 wide
        {"aaa  bbb", 200, {"aaa  bbb"}},            // blanks inside a line stay as typed
        {"aaaaaaaaaaaa", 30, {"aaaaa", "aaaaa", "aa"}},
        {"   ", 100, {"   "}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string_view> lines =
            wrapText(c.text, c.width, western(), PdfFont::Regular, 10);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.lines) << c.text;
        for (std::string_view line : lines) {
            if (line.size() > 1) {
                EXPECT_LE(textWidth(western(), PdfFont::Regular, line, 10), c.width) << line;
            }
        }
    }
    // Helvetica's own widths: "a" is 556 thousandths, "i" 222, the bold "W" 944.
    EXPECT_DOUBLE_EQ(textWidth(western(), PdfFont::Regular, "ai", 10), 7.78);
    EXPECT_DOUBLE_EQ(textWidth(western(), PdfFont::Bold, "W", 10), 9.44);
}

// Right-to-left text is ordered by the bidirectional algorithm in a
// left-to-right line, with its brackets mirrored; Arabic letters take their
// joined forms; and a line is as wide as its shaped glyphs, which is what it
// wraps by. The same on both platforms' engines.
TEST(PdfLayout, RightToLeftAndJoinedScriptsAreOrderedAndShaped) {
    const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";         // שלום
    const std::string arabic = "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7"; // مرحبا
    DocumentSettings settings;
    settings.fontFiles = {{testFontFile()}}; // DejaVu Sans has both scripts
    std::set<uint32_t> characters;
    for (const std::string* text : {&hebrew, &arabic})
        for (size_t at = 0; at < text->size();) characters.insert(nextCodePoint(*text, at));
    const FontChoice chosen = chooseFonts(characters, westernEncoding(), settings);
    ASSERT_EQ(chosen.fonts.others.size(), 1u) << "DejaVu Sans could not be read";
    const TrueTypeFont& font = *chosen.fonts.others[0].font;

    // "ab שלום (12) cd": the Hebrew word and the bracketed number run from
    // right to left, the number itself from left to right.
    ShapedLine line = shapedLine(chosen.fonts, PdfFont::Regular, "ab " + hebrew + " (12) cd");
    std::string standard;
    const ShapedRun* word = nullptr;
    for (const ShapedRun& run : line.runs) {
        standard += run.face ? std::string("|") : run.bytes;
        if (run.face) word = &run;
    }
    EXPECT_EQ(standard, "ab (12) | cd");
    ASSERT_NE(word, nullptr);
    EXPECT_TRUE(word->rightToLeft);
    ASSERT_EQ(word->glyphs.size(), 4u);
    EXPECT_EQ(word->glyphs.front().cluster, 3u) << "the last letter stands leftmost";
    EXPECT_EQ(word->glyphs.front().glyph, glyphOf(font, 0x05DD));

    // مرحبا: joined, the first letter in its initial form, not its own.
    line = shapedLine(chosen.fonts, PdfFont::Regular, arabic);
    ASSERT_EQ(line.runs.size(), 1u);
    ASSERT_EQ(line.runs[0].glyphs.size(), 5u);
    EXPECT_EQ(line.runs[0].glyphs.back().cluster, 0u) << "the first letter stands rightmost";
    EXPECT_NE(line.runs[0].glyphs.back().glyph, glyphOf(font, 0x0645));
    EXPECT_DOUBLE_EQ(lineWidth(chosen.fonts, PdfFont::Regular, arabic, 10),
                     static_cast<double>(line.width) / 100);

    const std::string twice = arabic + " " + arabic + " " + arabic;
    const double width = lineWidth(chosen.fonts, PdfFont::Regular, twice, 10) - 1;
    const std::vector<std::string_view> lines =
        wrapText(twice, width, chosen.fonts, PdfFont::Regular, 10);
    EXPECT_EQ(lines.size(), 2u);
    for (std::string_view piece : lines)
        EXPECT_LE(lineWidth(chosen.fonts, PdfFont::Regular, piece, 10), width);
}

TEST(PdfLayout, LongFormsBreakBetweenRowsWithTheHeaderAndPageNumberOnEveryPage) {
    for (PaperSize paper : {PaperSize::Letter, PaperSize::A4}) {
        const FormDocument form = invoiceOf(300);
        const PdfLayout layout = layoutOf(form, paper);
        const size_t pages = layout.pages.size();
        ASSERT_GE(pages, 5u);
        EXPECT_EQ(layout.width, paper == PaperSize::A4 ? 595.28 : 612);

        std::vector<int> pageOfItem(301, -1);
        for (size_t p = 0; p < pages; ++p) {
            const PdfPage& page = layout.pages[p];
            // "Page N of M", last, centred under the text.
            const PdfText& footer = page.texts.back();
            EXPECT_EQ(footer.text,
                      "Page " + std::to_string(p + 1) + " of " + std::to_string(pages));
            EXPECT_NEAR(footer.x * 2 + textWidth(western(), footer.font, footer.text, footer.size),
                        layout.width, 0.01);
            // The header row opens the table on every page, above every item.
            ASSERT_TRUE(onPage(page, "Description")) << "page " << p + 1;
            double headerY = 0;
            for (const PdfText& t : page.texts)
                if (t.text == "Description") headerY = t.y;
            for (const PdfText* item : startingWith(page, "Item ")) {
                EXPECT_LT(item->y, headerY);
                const int i = std::stoi(item->text.substr(5));
                // Every line of a row stands on one page.
                EXPECT_TRUE(pageOfItem[i] == -1 || pageOfItem[i] == static_cast<int>(p)) << i;
                pageOfItem[i] = static_cast<int>(p);
            }
            for (const PdfText& t : page.texts) {
                EXPECT_GE(t.y, 20) << t.text;
                EXPECT_LE(t.y, layout.height - 54) << t.text;
                EXPECT_GE(t.x, 54 - 0.01) << t.text;
                EXPECT_LE(t.x + textWidth(western(), t.font, t.text, t.size),
                          layout.width - 54 + 0.01)
                    << t.text;
            }
        }
        // Every item is shown, in order.
        for (int i = 2; i <= 300; ++i) EXPECT_GE(pageOfItem[i], pageOfItem[i - 1]) << i;
        EXPECT_NE(pageOfItem[1], -1);
    }
}

TEST(PdfLayout, TheTotalsAndTheClosingNeverStandAloneAtTheTopOfAPage) {
    // Item counts around every page boundary of the first pages.
    bool movedWithTheLastItem = false;
    for (int items = 20; items <= 90; ++items) {
        const FormDocument form = invoiceOf(items);
        const PdfLayout layout = layoutOf(form);
        for (const PdfPage& page : layout.pages) {
            if (onPage(page, "Total due")) {
                EXPECT_FALSE(startingWith(page, "Item " + std::to_string(items) + " paint").empty())
                    << items << " items: the totals row without the last item";
                if (&page != &layout.pages.front() && startingWith(page, "Item ").size() == 1)
                    movedWithTheLastItem = true;
            }
            if (onPage(page, "Please remit the total amount due.")) {
                EXPECT_TRUE(onPage(page, "Total due")) << items << " items";
            }
        }
    }
    EXPECT_TRUE(movedWithTheLastItem) << "no count reached the case the rule is for";
}

TEST(PdfLayout, TextsComeOutAsTyped) {
    FormDocument form = gardenInvoice();
    form.itemCount = 0;
    addItems(form, {{"01/02/2007", "", "1000000000000"},
                    {"01/03/2007", "(a) \\ % <b> )", "5"},
                    {"", "  Tax (5%) ", ""}});
    const PdfLayout layout = layoutOf(form);
    ASSERT_EQ(layout.pages.size(), 1u);
    const PdfPage& page = layout.pages[0];
    for (const char* text : {"1000000000000.00", "(a) \\ % <b> )", "Tax (5%)", "Total due",
                             "1050000000005.25", "INVOICE", "January 5, 2007", "Ann's Garden"})
        EXPECT_TRUE(onPage(page, text)) << text;
    // The tax row's label stands flush right in the description column, as the
    // amounts do in theirs.
    const PdfText& tax = *startingWith(page, "Tax (5%)").front();
    const PdfText& date = *startingWith(page, "01/03/2007").front();
    EXPECT_GT(tax.x, date.x + 200);
}

// What a field holds shows as the HTML document shows it: a tab or a line
// break as a blank, other control characters not at all, and a soft hyphen
// only where it breaks a word at the end of a line.
TEST(PdfLayout, FieldsShowAsTheBrowserShowsThem) {
    const std::string softHyphen = "\xC2\xAD";
    const std::string longWord = "Donau" + softHyphen + "dampf" + softHyphen + "schiff" +
                                 softHyphen + "fahrts" + softHyphen + "gesellschafts" + softHyphen +
                                 "kapit\xC3\xA4ns" + softHyphen + "m\xC3\xBCtze";
    FormDocument form = gardenInvoice();
    form.itemCount = 0;
    addItems(form, {{"01/02/2007", "tab\there\r\nline  two\x7F!\xC2\x85", "1"},
                    {"01/02/2007", "Schiff" + softHyphen + "fahrt", "2"},
                    {"01/02/2007", longWord + " " + longWord + " " + longWord, "3"}});
    const PdfLayout layout = layoutOf(form);
    ASSERT_EQ(layout.pages.size(), 1u);
    const PdfPage& page = layout.pages[0];
    EXPECT_TRUE(onPage(page, "tab here line  two!"));
    EXPECT_TRUE(onPage(page, "Schifffahrt"));
    // The long words are broken at their soft hyphens, each line ending in a
    // hyphen; put together again they are the words as typed.
    std::string joined;
    size_t brokenLines = 0;
    for (const PdfText* line : startingWith(page, "")) {
        if (line->text.find("Donau") == std::string::npos &&
            line->text.find("tze") == std::string::npos &&
            line->text.find("-") == std::string::npos)
            continue;
        if (line->text.ends_with("-")) {
            ++brokenLines;
            joined += line->text.substr(0, line->text.size() - 1);
        } else {
            joined += line->text + " ";
        }
        EXPECT_EQ(line->text.find(softHyphen), std::string::npos) << line->text;
    }
    EXPECT_GE(brokenLines, 2u);
    std::string unbroken = longWord;
    for (size_t at; (at = unbroken.find(softHyphen)) != std::string::npos;)
        unbroken.erase(at, softHyphen.size());
    EXPECT_EQ(joined, unbroken + " " + unbroken + " " + unbroken + " ");
}

// An addressee block longer than a page keeps the heading word and the date
// at the top of the first page, beside the lines they belong to.
TEST(PdfLayout, TheHeadingAndDateStayOnTheFirstPageOfALongAddressee) {
    for (const size_t longLine : {0u, 1u}) {
        FormDocument form = gardenInvoice();
        std::string words;
        for (int word = 1; word <= 2000; ++word) words += "word" + std::to_string(word) + " ";
        form.addresseeLines[longLine] = words;
        const PdfLayout layout = layoutOf(form);
        ASSERT_GE(layout.pages.size(), 3u);
        const PdfPage& first = layout.pages[0];
        ASSERT_EQ(startingWith(first, "INVOICE").size(), 1u) << longLine;
        ASSERT_EQ(startingWith(first, "January 5, 2007").size(), 1u) << longLine;
        const PdfText& firstLine =
            *startingWith(first, longLine == 0 ? "word1 " : "Bob Lee").front();
        EXPECT_NEAR(startingWith(first, "INVOICE").front()->y + 14, firstLine.y + 11, 0.01)
            << "the heading's line top is the first line's";
        EXPECT_GT(startingWith(first, "January 5, 2007").front()->y, 54) << longLine;
        for (size_t p = 1; p < layout.pages.size(); ++p) {
            EXPECT_TRUE(startingWith(layout.pages[p], "INVOICE").empty()) << p;
            EXPECT_TRUE(startingWith(layout.pages[p], "January 5, 2007").empty()) << p;
        }
    }
}

// The number and due date stand in the right column beside the second and
// fourth addressee lines, the buyer's tax details below the block, and the
// seller's footer centred after the notes.
TEST(PdfLayout, AnInvoiceWithTaxDetailsSaysThemBesideTheAddresseeAndBelowTheText) {
    const FormDocument form = testing::numberedGardenInvoice();
    const PdfLayout layout = pdfLayout(form, documentValues(form, testing::gardenBusiness()),
                                       western(), PaperSize::Letter);
    ASSERT_EQ(layout.pages.size(), 1u);
    const PdfPage& page = layout.pages[0];
    const auto text = [&page](const std::string& prefix) {
        const std::vector<const PdfText*> found = startingWith(page, prefix);
        EXPECT_EQ(found.size(), 1u) << prefix;
        return found.empty() ? PdfText{} : *found.front();
    };
    EXPECT_EQ(text("Invoice No. 2007-0042").y, text("1 Elm St").y);
    EXPECT_EQ(text("Due by February 4, 2007").y, text("555 0199").y);
    EXPECT_EQ(text("Invoice No.").x, text("INVOICE").x);
    EXPECT_LT(text("VAT ID: DE123456789").y, text("555 0199").y);
    EXPECT_GT(text("Your reference: PO 77").y, text("Date").y);
    EXPECT_LT(text("Payable within 30 days.").y, text("Please remit").y);
    EXPECT_GT(text("Payable within 30 days.").y, text("Thank you").y);
    const PdfText footer = text("Ann's Garden Ltd, 2 Oak Rd, 10115 Berlin, DE");
    EXPECT_NEAR(footer.x * 2 + textWidth(western(), footer.font, footer.text, footer.size),
                layout.width, 0.01);
    EXPECT_GT(text("IBAN: DE89").y, text("Page 1 of 1").y);
    EXPECT_LT(text("IBAN: DE89").y, text("VAT ID: DE987654321").y);
}

// Around every page boundary of the first pages: the code stands whole on
// one page, after the notes and before the footer, its quiet zone clear of
// every text, "Scan to pay" under it; its rectangles are the code's dark
// modules; and the writer fills them.
TEST(PdfLayout, ThePaymentCodeStandsWholeAboveTheFooterClearOfEveryText) {
    BusinessDetails business = testing::gardenBusiness();
    business.currency = "EUR";
    bool movedToANewPage = false;
    for (int items = 20; items <= 75; ++items) {
        SCOPED_TRACE(std::to_string(items) + " items");
        FormDocument form = invoiceOf(items);
        form.number = "2024-0017";
        const DocumentValues values = documentValues(form, business);
        ASSERT_TRUE(values.paymentCode.has_value());
        const QrCode& code = *values.paymentCode;
        const PdfLayout layout = pdfLayout(form, values, western(), PaperSize::Letter);
        const auto withBoxes = std::find_if(layout.pages.begin(), layout.pages.end(),
                                            [](const PdfPage& p) { return !p.boxes.empty(); });
        ASSERT_NE(withBoxes, layout.pages.end());
        EXPECT_TRUE(std::all_of(withBoxes + 1, layout.pages.end(),
                                [](const PdfPage& p) { return p.boxes.empty(); }));
        const PdfPage& page = *withBoxes;
        const double module = page.boxes.front().height;
        double left = 1e9, right = 0, bottom = 1e9, top = 0;
        for (const PdfBox& box : page.boxes) {
            EXPECT_DOUBLE_EQ(box.height, module);
            left = std::min(left, box.x);
            right = std::max(right, box.x + box.width);
            bottom = std::min(bottom, box.y);
            top = std::max(top, box.y + box.height);
        }
        EXPECT_NEAR(right - left, 85, 2) << "about 30 mm wide";
        std::vector<uint8_t> drawn(code.dark.size());
        for (const PdfBox& box : page.boxes) {
            const auto row = std::lround((top - box.y - box.height) / module);
            const auto column = std::lround((box.x - left) / module);
            for (long i = 0; i < std::lround(box.width / module); ++i)
                drawn[static_cast<size_t>(row * code.size + column + i)] = 1;
        }
        EXPECT_EQ(drawn, code.dark);
        const double quiet = 4 * module;
        EXPECT_GE(bottom - quiet, 54 - 0.01) << "within the bottom margin";
        for (const PdfText& text : page.texts) {
            const double width = textWidth(western(), text.font, text.text, text.size);
            const bool clear = text.x + width <= left - quiet || text.x >= right + quiet ||
                               text.y + text.size <= bottom - quiet ||
                               text.y - text.size * 0.25 >= top + quiet;
            EXPECT_TRUE(clear) << text.text;
        }
        const std::vector<const PdfText*> caption = startingWith(page, "Scan to pay");
        ASSERT_EQ(caption.size(), 1u);
        EXPECT_LT(caption[0]->y, bottom);
        EXPECT_NEAR(caption[0]->x * 2 +
                        textWidth(western(), PdfFont::Regular, "Scan to pay", caption[0]->size),
                    left + right, 0.01);
        for (const PdfText* note : startingWith(page, "Second note")) EXPECT_GT(note->y, top);
        for (const PdfText* footer : startingWith(page, "Ann's Garden Ltd, "))
            EXPECT_LT(footer->y, caption[0]->y);
        const bool notesBefore = std::any_of(layout.pages.begin(), withBoxes + 1, [](auto& p) {
            return !startingWith(p, "Second note").empty();
        });
        EXPECT_TRUE(notesBefore);
        if (!onPage(page, "Thank you")) movedToANewPage = true;

        const std::vector<std::string> contents =
            pageContents(pdfBytes(layout, western(), PdfDocumentInfo{}));
        const std::string& content =
            contents.at(static_cast<size_t>(withBoxes - layout.pages.begin()));
        size_t rectangles = 0;
        for (size_t at = content.find(" re\n"); at != std::string::npos;
             at = content.find(" re\n", at + 1))
            ++rectangles;
        EXPECT_EQ(rectangles, page.boxes.size());
        EXPECT_NE(content.find(" re\nf\n"), std::string::npos);
    }
    EXPECT_TRUE(movedToANewPage) << "no count reached the case the rule is for";
    // Without the code no page has a box.
    for (const PdfPage& page : layoutOf(invoiceOf(30)).pages) EXPECT_TRUE(page.boxes.empty());
}

TEST(PdfLayout, ARowTallerThanAPageContinuesOnTheNextBetweenLines) {
    std::string description;
    for (int word = 1; word <= 700; ++word) description += "word" + std::to_string(word) + " ";
    description.pop_back();
    FormDocument form = gardenInvoice();
    addItems(form, {{"01/03/2007", description, "5"}});
    const PdfLayout layout = layoutOf(form);
    ASSERT_GE(layout.pages.size(), 2u);
    std::string shown;
    for (const PdfPage& page : layout.pages) {
        EXPECT_TRUE(onPage(page, "Description")) << "the header row opens every page";
        for (const PdfText* line : startingWith(page, "word")) {
            EXPECT_GE(line->y, 54 - 0.01);
            shown += (shown.empty() ? "" : " ") + line->text;
        }
    }
    EXPECT_EQ(shown, description) << "every line once, in order";
}

TEST(PdfWriter, CrossReferencesPointAtTheirObjectsAndTextsSurviveEscaping) {
    FormDocument form = invoiceOf(120);
    addItems(form, {{"", ") Tj ET BT /F9 99 Tf (\\", "1"}, {"", "tab\there\r\n", "2"}});
    const DocumentValues values = documentValues(form);
    DocumentSettings settings;
    settings.creationTime = 1700000000;
    const std::string pdf = pdfDocument(form, values, settings);

    ASSERT_EQ(pdf.rfind("%PDF-1.7\n", 0), 0u);
    ASSERT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
    const size_t startxref = pdf.rfind("startxref\n");
    const size_t xref = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.compare(xref, 7, "xref\n0 "), 0);
    const size_t objects = std::stoul(pdf.substr(xref + 7));
    const size_t table = pdf.find('\n', xref + 5) + 1;
    EXPECT_EQ(pdf.compare(table, 20, "0000000000 65535 f\r\n"), 0);
    for (size_t n = 1; n < objects; ++n) {
        const std::string entry = pdf.substr(table + 20 * n, 20);
        ASSERT_EQ(entry.substr(10), " 00000 n\r\n") << n;
        const size_t offset = std::stoul(entry.substr(0, 10));
        EXPECT_EQ(pdf.compare(offset, std::to_string(n).size() + 7, std::to_string(n) + " 0 obj\n"),
                  0)
            << "object " << n << " at " << offset;
    }
    EXPECT_EQ(pdf.compare(table + 20 * objects, 8, "trailer\n"), 0);
    EXPECT_NE(pdf.find("/Size " + std::to_string(objects) + " "), std::string::npos);

    // The pages show exactly the layout's texts, whatever they hold.
    const PdfLayout layout = pdfLayout(form, values, western(), settings.paper);
    const std::vector<std::string> contents = pageContents(pdf);
    ASSERT_EQ(contents.size(), layout.pages.size());
    EXPECT_NE(pdf.find("/Count " + std::to_string(layout.pages.size()) + " "), std::string::npos);
    for (size_t p = 0; p < contents.size(); ++p) {
        std::vector<std::string> expected;
        for (const PdfText& t : layout.pages[p].texts) expected.push_back(t.text);
        EXPECT_EQ(shownStrings(contents[p]), expected) << "page " << p + 1;
        // And each where the layout put it, to the hundredth of a point.
        const std::vector<std::pair<double, double>> origins = textOrigins(contents[p]);
        ASSERT_EQ(origins.size(), expected.size()) << "page " << p + 1;
        for (size_t i = 0; i < origins.size(); ++i) {
            EXPECT_NEAR(origins[i].first, layout.pages[p].texts[i].x, 0.0051) << expected[i];
            EXPECT_NEAR(origins[i].second, layout.pages[p].texts[i].y, 0.0051) << expected[i];
        }
    }
    EXPECT_NE(contents.back().find("(\\) Tj ET BT /F9 99 Tf \\(\\\\)"), std::string::npos);
    EXPECT_NE(contents.back().find("(tab here )"), std::string::npos);

    EXPECT_NE(pdf.find("/Title (INVOICE Bob Lee)"), std::string::npos);
    EXPECT_NE(pdf.find("/Author (Ann's Garden)"), std::string::npos);
    EXPECT_NE(pdf.find(std::string("/Creator (Plaxet ") + PLAXET_VERSION + ")"), std::string::npos);
    EXPECT_NE(pdf.find("/CreationDate (D:20231114221320Z)"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Helvetica /Encoding /WinAnsiEncoding"), std::string::npos);
    EXPECT_EQ(pdfDocument(form, values, settings), pdf) << "the same form gives the same bytes";
}

TEST(PdfWriter, OtherLatinCodePagesMapTheirLettersAndOthersUseWinAnsi) {
    // Central European: byte 0xC6 is C acute where Western has AE; 0x8A is S caron in both.
    const PdfCodePage* central = pdfCodePage(1250);
    ASSERT_NE(central, nullptr);
    EXPECT_STREQ(central->glyphs[0xC6].name, "Cacute");
    EXPECT_EQ(standardFontByte(*central, 0x106), 0xC6); // Ć
    EXPECT_EQ(standardFontByte(westernEncoding(), 0x106), std::nullopt);
    EXPECT_EQ(standardFontByte(westernEncoding(), 0x20AC), 0x80); // €
    EXPECT_STREQ(pdfCodePage(1254)->glyphs[0xFD].name, "dotlessi");
    EXPECT_STREQ(pdfCodePage(1257)->glyphs[0xC0].name, "Aogonek");
    for (uint32_t lacking : {1251u, 1253u, 932u, 65001u})
        EXPECT_EQ(&pdfEncodingFor(lacking), &westernEncoding()) << lacking;

    const FormDocument form = gardenInvoice();
    const PdfFonts fonts{central, {}, {}, {}};
    const PdfLayout layout = pdfLayout(form, documentValues(form), fonts, PaperSize::Letter);
    const std::string pdf = pdfBytes(layout, fonts, {"Caf\xC3\xA9 (1)", "a", "c", 0});
    EXPECT_NE(pdf.find("/BaseEncoding /WinAnsiEncoding /Differences ["), std::string::npos);
    EXPECT_NE(pdf.find(" 198 /Cacute "), std::string::npos);
    EXPECT_EQ(pdf.find(" 138 /Scaron "), std::string::npos) << "WinAnsi has it already";
    EXPECT_NE(pdf.find("/BaseFont /Helvetica-Bold /Encoding 6 0 R"), std::string::npos);
    // An information text beyond ASCII (UTF-8, as all text) goes in as UTF-16, in hexadecimal.
    EXPECT_NE(pdf.find("/Title <FEFF00430061006600E90020002800310029>"), std::string::npos);
}

// The page's texts drawn with each font, as "/F3 11 Tf\n<0001> Tj" lines.
TEST(PdfWriter, CharactersTheStandardFontsLackComeFromTheFirstFaceThatHasThem) {
    FormDocument form = gardenInvoice();
    DocumentSettings settings;
    settings.creationTime = 0;
    settings.fontFiles = {{"no such font.ttf"}}; // never read for a form the standard fonts show
    const std::string plain = pdfDocument(form, documentValues(form), settings);
    EXPECT_EQ(plain.find("/F3"), std::string::npos) << "a form the code page holds embeds nothing";
    // The seller's footer is looked at as the form's own texts are.
    BusinessDetails business;
    business.name = "\xC5\x81\xC3\xB3"
                    "d\xC5\xBA Garden"; // Łódź Garden
    settings.fontFiles = {{testFontFile()}};
    EXPECT_NE(pdfDocument(form, documentValues(form, business), settings).find("/F3"),
              std::string::npos);

    // Each character from the first face that has it: Ł from DejaVu Sans, 王芳
    // from the first face of a collection; in the bold name Ł from the bold
    // face, 王 from the regular face drawn with a stroke.
    settings.fontFiles = {{"no such font.ttf"},
                          {testFontFile()},
                          {testFontFile("dejavu/DejaVuSans-Bold.ttf"), 0, true},
                          {testFontFile("wqy/wqy-zenhei.ttc")}};
    form.addresseeLines[0] = "\xC5\x81ukasz \xE7\x8E\x8B Caf\xC3\xA9"; // Łukasz 王 Café
    form.notes = "\xC5\x81\xE7\x8E\x8B\xE8\x8A\xB3\xF0\x9D\x84\x9E";   // Ł王芳𝄞
    DocumentReport report;
    const std::string pdf = pdfDocument(form, documentValues(form), settings, &report);
    const std::string content = pageContents(pdf).at(0);
    // F3 regular DejaVu (Ł; 𝄞 which no face has, as its box), F4 bold DejaVu, F5 the collection.
    for (const char* drawn :
         {"/F4 11 Tf\n-212.9 -28 Td <0001> Tj\n/F2 11 Tf\n(ukasz ) Tj\n/F5 11 Tf\n"
          "2 Tr 0.33 w <0001> Tj 0 Tr\n/F2 11 Tf\n( Caf\xE9) Tj",
          "/F3 8 Tf\n0 -25 Td <0001> Tj\n/F5 8 Tf\n<00010002> Tj\n/F3 8 Tf\n<0002> Tj"})
        EXPECT_NE(content.find(drawn), std::string::npos) << drawn << "\n" << content;
    for (const char* font : {"+DejaVuSans ", "+DejaVuSans-Bold ", "+WenQuanYiZenHei "})
        EXPECT_NE(pdf.find(font), std::string::npos) << font;
    EXPECT_NE(pdf.find("/Subtype /CIDFontType2"), std::string::npos);
    EXPECT_NE(pdf.find("/ToUnicode"), std::string::npos);
    EXPECT_EQ(report.undrawnCharacters, std::vector<uint32_t>{0x1D11E});
    EXPECT_EQ(pdfDocument(form, documentValues(form), settings), pdf) << "the same bytes again";

    // Without any font the characters become their nearest text, and are said to be lacking.
    settings.fontFiles = {{"no such font.ttf"}};
    pdfDocument(form, documentValues(form), settings, &report);
    EXPECT_EQ(report.undrawnCharacters, (std::vector<uint32_t>{0x141, 0x738B, 0x82B3, 0x1D11E}));
}

// The system finds the face for what the listed files lack (fontconfig on
// Linux, DirectWrite on Windows), and the document embeds it.
TEST(PdfWriter, TheSystemFindsAFaceForCharactersTheListedFontsLack) {
    FormDocument form = gardenInvoice();
    form.addresseeLines[1] = "\xE7\x8E\x8B\xE8\x8A\xB3 \xEA\xB9\x80"; // 王芳 김
    DocumentSettings settings;
    settings.fontFiles = {{testFontFile()}};
    settings.findFonts = systemFontsFor;
    DocumentReport report;
    const std::string pdf = pdfDocument(form, documentValues(form), settings, &report);
    EXPECT_TRUE(report.undrawnCharacters.empty());
    EXPECT_NE(pdf.find("/FontFile2"), std::string::npos);
    EXPECT_EQ(pdf.find("+DejaVuSans"), std::string::npos) << "the listed face has none of them";
#ifndef _WIN32
    EXPECT_NE(pdf.find("+WenQuanYiZenHei"), std::string::npos);
#endif
}

// The stream of the object whose dictionary holds `key`, inflated when it is packed.
std::string streamWith(const std::string& pdf, const std::string& key) {
    const size_t found = pdf.find(key);
    if (found == std::string::npos) return "(no " + key + ")";
    const size_t begin = pdf.rfind(" 0 obj\n", found), start = pdf.find(">>\nstream\n", found);
    const size_t lengthAt = pdf.find("/Length ", begin) + 8;
    const std::string data = pdf.substr(start + 10, std::stoul(pdf.substr(lengthAt)));
    const size_t dictionaryEnd = start;
    const bool packed =
        pdf.substr(begin, dictionaryEnd - begin).find("/FlateDecode") != std::string::npos;
    return packed ? inflate(data) : data;
}

// Contents handed on in pieces of up to `size` bytes, as a long XML is.
ContentProducer inPieces(std::string text, size_t size) {
    return [text = std::move(text), size](const ContentSink& sink) {
        for (size_t at = 0; at < text.size(); at += size)
            sink(std::string_view(text).substr(at, size));
    };
}

// An invoice that carries its e-invoice is an archival file (PDF/A-3B)
// with the XML attached; without the fonts that needs it is the plain file.
TEST(PdfWriter, AnInvoiceWithItsEInvoiceIsAnArchivalFileWithTheXmlAttached) {
    FormDocument form = gardenInvoice();
    form.addresseeLines[0] = "Caf\xC3\xA9 & <Co>\x01";
    DocumentValues values = documentValues(form);
    const std::string plain = [&] {
        DocumentSettings settings;
        settings.creationTime = 1700000000;
        return pdfDocument(form, values, settings);
    }();
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rsm:CrossIndustryInvoice>";
    for (int line = 0; line < 3000; ++line)
        xml += "<ram:LineID>" + std::to_string(line * 7919 % 3001) +
               "</ram:LineID><ram:Name>Caf\xC3\xA9 \xE7\x8E\x8B</ram:Name>\n";
    xml += "</rsm:CrossIndustryInvoice>\n";
    values.eInvoiceXml = inPieces(xml, 20000);
    DocumentSettings settings;
    settings.creationTime = 1700000000;
    settings.archivalFonts = {testFontFile("liberation2/LiberationSans-Regular.ttf"),
                              testFontFile("liberation2/LiberationSans-Bold.ttf")};
    DocumentReport report;
    const std::string pdf = pdfDocument(form, values, settings, &report);
    EXPECT_FALSE(report.archivalFontsMissing);
    EXPECT_EQ(pdf.rfind("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n", 0), 0u);
    const size_t id = pdf.find("/ID [<");
    ASSERT_NE(id, std::string::npos);
    EXPECT_EQ(pdf.substr(id + 6, 32), pdf.substr(id + 41, 32)) << "two equal 16-byte identifiers";

    // The XML byte for byte, attached as the catalog names it.
    EXPECT_TRUE(streamWith(pdf, "/Type /EmbeddedFile /Subtype /text#2Fxml") == xml);
    EXPECT_NE(pdf.find("/Params << /ModDate (D:20231114221320Z) /Size " +
                       std::to_string(xml.size()) + " >>"),
              std::string::npos);
    for (const char* entry :
         {"/Type /Filespec /F (factur-x.xml) /UF (factur-x.xml)", "/AFRelationship /Alternative",
          "/EmbeddedFiles << /Names [(factur-x.xml) ", "/AF [", "/S /GTS_PDFA1",
          "/OutputConditionIdentifier (sRGB)", "/Subtype /TrueType /BaseFont /"})
        EXPECT_NE(pdf.find(entry), std::string::npos) << entry;
    EXPECT_EQ(streamWith(pdf, " /N 3"), kSrgbProfile);
    EXPECT_EQ(kSrgbProfile.substr(12, 8), "mntrRGB ") << "a monitor profile of RGB";

    // The metadata, readable as it stands, says what the information dictionary says.
    const std::string xmp = streamWith(pdf, "/Type /Metadata /Subtype /XML");
    EXPECT_NE(pdf.find("/Type /Metadata /Subtype /XML >>"), std::string::npos) << "not packed";
    for (const char* said :
         {"<pdfaid:part>3</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>",
          "<rdf:li xml:lang=\"x-default\">INVOICE Caf\xC3\xA9 &amp; &lt;Co&gt; </rdf:li>",
          "<rdf:li>Ann's Garden</rdf:li>", "<xmp:CreateDate>2023-11-14T22:13:20Z<",
          "<xmp:ModifyDate>2023-11-14T22:13:20Z<", "<fx:DocumentType>INVOICE<",
          "<fx:DocumentFileName>factur-x.xml<", "<fx:Version>1.0<",
          "<fx:ConformanceLevel>EN 16931<",
          "<pdfaSchema:namespaceURI>urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#<"})
        EXPECT_NE(xmp.find(said), std::string::npos) << said;
    EXPECT_EQ(xmp.find("bytes="), std::string::npos);
    for (const char* info : {"/Title <FEFF0049004E0056004F004900430045002000430061006600E90020"
                             "00260020003C0043006F003E0020>",
                             "/CreationDate (D:20231114221320Z)", "/ModDate (D:20231114221320Z)"})
        EXPECT_NE(pdf.find(info), std::string::npos) << info;

    // Every font embedded: the standard fonts' text in the archival faces,
    // cut down to what the pages draw, each byte's width the face's own.
    EXPECT_EQ(pdf.find("/Subtype /Type1"), std::string::npos);
    const TrueTypeRead subset = readTrueTypeFont(streamWith(pdf, "/Length1 "));
    ASSERT_TRUE(subset.font) << subset.error;
    EXPECT_NE(pdf.find("+LiberationSans /Flags 32"), std::string::npos);
    const uint16_t a = glyphOf(*subset.font, 'a');
    EXPECT_NE(a, 0) << "the Unicode map finds the glyphs the text draws";
    const size_t widths = pdf.find("/FirstChar 32 /LastChar ");
    ASSERT_NE(widths, std::string::npos);
    const std::string widthsText = pdf.substr(pdf.find("/Widths [", widths) + 9, 400);
    EXPECT_EQ(widthsText.substr(0, 4), "278 ") << "the blank's width";
    // The pages draw what the plain file's pages draw.
    const std::vector<std::string> plainPages = pageContents(plain);
    const std::vector<std::string> archivalStreams = pageContents(pdf);
    ASSERT_GE(archivalStreams.size(), plainPages.size());
    EXPECT_TRUE(std::equal(plainPages.begin(), plainPages.end(), archivalStreams.begin()));
    EXPECT_EQ(pdfDocument(form, values, settings), pdf) << "the same inputs give the same bytes";

    // Without the archival fonts, or with a character no font has, the plain
    // file, and the report says so.
    settings.archivalFonts.bold = "no such font.ttf";
    report = {};
    EXPECT_EQ(pdfDocument(form, values, settings, &report), plain);
    EXPECT_TRUE(report.archivalFontsMissing);
    settings.archivalFonts.bold = testFontFile("liberation2/LiberationSans-Bold.ttf");
    form.notes = "\xF0\x9D\x84\x9E"; // 𝄞, which no face has: drawn as DejaVu Sans's box
    settings.fontFiles = {{testFontFile()}};
    values = documentValues(form);
    values.eInvoiceXml = inPieces(xml, 20000);
    report = {};
    const std::string lacking = pdfDocument(form, values, settings, &report);
    EXPECT_TRUE(report.archivalFontsMissing);
    EXPECT_EQ(lacking.find("/EmbeddedFile"), std::string::npos);
}

// Another code page's letters in the archival faces: the encoding names
// only bytes that stand for a character, and the faces' map finds each.
TEST(PdfWriter, AnArchivalFileOfAnotherCodePageFindsItsLettersInTheFaces) {
    FormDocument form = gardenInvoice();
    form.addresseeLines[0] = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA"; // Łódź
    DocumentValues values = documentValues(form);
    values.eInvoiceXml = inPieces("<x/>", 4);
    DocumentSettings settings;
    settings.codePage = 1250;
    settings.creationTime = 0;
    settings.archivalFonts = {testFontFile("liberation2/LiberationSans-Regular.ttf"),
                              testFontFile("liberation2/LiberationSans-Bold.ttf")};
    DocumentReport report;
    const std::string pdf = pdfDocument(form, values, settings, &report);
    EXPECT_FALSE(report.archivalFontsMissing);
    EXPECT_NE(pdf.find("/Differences ["), std::string::npos);
    EXPECT_EQ(pdf.find("/.notdef"), std::string::npos);
    // The name is bold: the bold face's subset maps Ł (byte 0xA3 in code page 1250).
    const size_t bold = pdf.find("+LiberationSans-Bold /Flags");
    ASSERT_NE(bold, std::string::npos);
    const TrueTypeRead subset = readTrueTypeFont(streamWith(pdf.substr(bold), "/Length1 "));
    ASSERT_TRUE(subset.font) << subset.error;
    EXPECT_NE(glyphOf(*subset.font, 0x141), 0);
    EXPECT_NE(glyphOf(*subset.font, 0x17A), 0);
}

} // namespace plaxet
