#include "print/topic_printout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_printer_device.h"

namespace plaxet {
namespace {

using Rows = std::vector<std::string>;

Rows breakAt(std::string_view line, size_t width) {
    return breakLine(
        line, [&](std::string_view text) { return text.size() <= width; },
        [&](std::string_view text) { return std::string(text.substr(0, width)); });
}

std::string numberedLines(int count) {
    std::string body;
    for (int line = 1; line <= count; ++line) {
        if (line > 1) body += "\r\n";
        body += "line " + std::to_string(line);
    }
    return body;
}

std::vector<DrawnText> drawnOnPage(const FakePrinterDevice& device, int page) {
    std::vector<DrawnText> drawn;
    std::copy_if(device.drawn.begin(), device.drawn.end(), std::back_inserter(drawn),
                 [&](const DrawnText& text) { return text.page == page; });
    return drawn;
}

TEST(TopicPrintout, TabsPadEachFieldToTheNextMultipleOfEight) {
    EXPECT_EQ(expandTabs("a\tword"), "a       word");
    EXPECT_EQ(expandTabs("12345678\tx"), "12345678        x");
    EXPECT_EQ(expandTabs("ab\tcd\tef"), "ab      cd      ef");
    EXPECT_EQ(expandTabs("\t"), std::string(8, ' '));
    EXPECT_EQ(expandTabs("no tabs"), "no tabs");
}

TEST(TopicPrintout, BreaksLongLinesAtPunctuationAndSpaces) {
    EXPECT_EQ(breakAt("0123456789", 10), Rows{"0123456789"}); // exactly at the margin
    EXPECT_EQ(breakAt("", 10), Rows{""});
    EXPECT_EQ(breakAt("  indented", 10), Rows{"  indented"}); // a fitting line stays as it is
    EXPECT_EQ(breakAt("aaaa bbbb cccc", 10), (Rows{"aaaa bbbb", "cccc"}));
    EXPECT_EQ(breakAt("one,two;three", 10), (Rows{"one,two;", "three"}));
    // An opening bracket starts the next row.
    EXPECT_EQ(breakAt("abc def(ghij)", 10), (Rows{"abc def", "(ghij)"}));
    // A word wider than the line is cut where it stops fitting.
    EXPECT_EQ(breakAt("abcdefghijklmnopqrstuvwxy", 10),
              (Rows{"abcdefghij", "klmnopqrst", "uvwxy"}));
    EXPECT_EQ(breakAt("(abcdefghijklmn", 10), (Rows{"(abcdefghi", "jklmn"}));
    // Spaces left after the last cut make no empty row.
    EXPECT_EQ(breakAt("aaaa bbbb          ", 10), Rows{"aaaa bbbb"});
    // Even when not one character fits, the line ends.
    EXPECT_EQ(breakAt("ab", 0), (Rows{"a", "b"}));
}

TEST(TopicPrintout, OnePageWithHeadingPageNumberAndBody) {
    FakePrinterDevice device; // 8.5 x 11 inches, 100 dpi, 0.1 inch per character, lines 0.2
    cTPrint printer(device);
    const std::string longLine = "word " + std::string(66, 'x') + " tail";
    EXPECT_EQ(printTopic(printer, "Getting started", "a\tword\r\n\r\n" + longLine),
              PrintOutcome::Printed);
    EXPECT_EQ(device.calls, (Rows{"choosePrinter", "startDoc", "startPage", "endPage", "endDoc"}));
    EXPECT_EQ(device.documentName, "appHelp");
    EXPECT_TRUE(device.duplexModes.empty());
    ASSERT_EQ(device.drawn.size(), 6u);
    const DrawnText& heading = device.drawn[0];
    EXPECT_EQ(heading.text, "Getting started");
    EXPECT_EQ(heading.x, 75);
    EXPECT_EQ(heading.y, 25);
    EXPECT_TRUE(heading.font.underline);
    EXPECT_EQ(heading.font.face, "Courier New");
    const DrawnText& pageText = device.drawn[1];
    EXPECT_EQ(pageText.text, "Page 1");
    EXPECT_EQ(pageText.x, 715); // ends at the right margin
    EXPECT_EQ(pageText.y, 25);
    EXPECT_FALSE(pageText.font.underline);
    // The body starts five lines down; the empty line keeps its slot.
    EXPECT_EQ(device.drawn[2].text, "a       word");
    EXPECT_EQ(device.drawn[2].x, 75);
    EXPECT_EQ(device.drawn[2].y, 100);
    EXPECT_EQ(device.drawn[3].text, "word");
    EXPECT_EQ(device.drawn[3].y, 140);
    EXPECT_EQ(device.drawn[4].text, std::string(66, 'x'));
    EXPECT_EQ(device.drawn[5].text, "tail");
    EXPECT_EQ(device.drawn[5].y, 180);
}

TEST(TopicPrintout, LongTopicsRunOverPagesEachWithHeadingAndNumber) {
    // 51 lines fit between the margins; the heading takes 4 slots: 47 rows a page.
    FakePrinterDevice device;
    cTPrint printer(device);
    EXPECT_EQ(printTopic(printer, "Items", numberedLines(100)), PrintOutcome::Printed);
    EXPECT_EQ(device.pagesStarted, 3);
    for (int page = 1; page <= 3; ++page) {
        const std::vector<DrawnText> drawn = drawnOnPage(device, page);
        ASSERT_GE(drawn.size(), 3u);
        EXPECT_EQ(drawn[0].text, "Items");
        EXPECT_EQ(drawn[1].text, "Page " + std::to_string(page));
        EXPECT_EQ(drawn[2].text, "line " + std::to_string(1 + (page - 1) * 47));
        EXPECT_EQ(drawn[2].y, 100);
        EXPECT_EQ(drawn.back().y, page < 3 ? 100 + 46 * 20 : 100 + 5 * 20);
    }
    EXPECT_EQ(std::count(device.calls.begin(), device.calls.end(), "endPage"), 3);

    // A topic that exactly fills its page leaves no page with only a heading.
    FakePrinterDevice full;
    cTPrint fullPrinter(full);
    printTopic(fullPrinter, "Items", numberedLines(47));
    EXPECT_EQ(full.pagesStarted, 1);
    EXPECT_EQ(full.drawn.size(), 49u);
}

TEST(TopicPrintout, TwoSidedPrintingOnlyForMoreThanOnePage) {
    for (const auto& [lines, mode] : {std::pair{47, 1}, std::pair{48, 2}}) {
        FakePrinterDevice device;
        device.duplex = true;
        cTPrint printer(device);
        printTopic(printer, "Items", numberedLines(lines));
        EXPECT_EQ(device.duplexModes, std::vector<int>{mode}) << lines << " lines";
        EXPECT_EQ(device.pagesStarted, mode);
    }
}

TEST(TopicPrintout, CancelAndFailuresStopThePrintout) {
    FakePrinterDevice cancelled;
    cancelled.chosenName = "";
    cTPrint cancelledPrinter(cancelled);
    EXPECT_EQ(printTopic(cancelledPrinter, "Items", "text"), PrintOutcome::Cancelled);
    EXPECT_EQ(cancelled.calls, Rows{"choosePrinter"});
    EXPECT_TRUE(cancelled.drawn.empty());
    EXPECT_TRUE(cancelled.errors.empty());

    FakePrinterDevice noDocument;
    noDocument.startDocSucceeds = false;
    cTPrint noDocumentPrinter(noDocument);
    EXPECT_EQ(printTopic(noDocumentPrinter, "Items", "text"), PrintOutcome::Failed);
    EXPECT_EQ(noDocument.errors, Rows{"Printer Error: Document printing error"});
    EXPECT_EQ(noDocument.pagesStarted, 0);
    EXPECT_TRUE(noDocument.drawn.empty());

    FakePrinterDevice secondPage;
    secondPage.pagesThatStart = 1;
    cTPrint secondPagePrinter(secondPage);
    EXPECT_EQ(printTopic(secondPagePrinter, "Items", numberedLines(60)), PrintOutcome::Failed);
    EXPECT_EQ(secondPage.errors, Rows{"Printer Error: Page printing error"});
    EXPECT_EQ(secondPage.calls.back(), "abortDoc");
    EXPECT_EQ(std::count(secondPage.calls.begin(), secondPage.calls.end(), "endDoc"), 0);

    // A document the spooler refuses at its end is reported, not printed.
    FakePrinterDevice refusedAtEnd;
    refusedAtEnd.endDocSucceeds = false;
    cTPrint refusedAtEndPrinter(refusedAtEnd);
    EXPECT_EQ(printTopic(refusedAtEndPrinter, "Items", "text"), PrintOutcome::Failed);
    EXPECT_EQ(refusedAtEnd.errors, Rows{"Printer Error: Document printing error"});
}

} // namespace
} // namespace plaxet
