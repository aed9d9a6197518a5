#include "print/ctprint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_printer_device.h"

namespace plaxet {
namespace {

TEST(CTPrint, MeasuresAndFitsInInches) {
    FakePrinterDevice device; // 100 dpi, 0.1 inch per character
    cTPrint printer(device);
    EXPECT_EQ(printer.ChoosePrinter(), "Office Printer");
    EXPECT_DOUBLE_EQ(printer.TextWidth("abcd"), 0.4);
    EXPECT_EQ(printer.FitText("first second", 0), "");
    EXPECT_EQ(printer.FitText("first second", 5), "first second");
    EXPECT_EQ(printer.FitText("first second", 0.55), "first");
    EXPECT_EQ(printer.FitText("first second", -0.6), "second");
    double width = 0, height = 0;
    printer.GetPageSize(width, height);
    EXPECT_DOUBLE_EQ(width, 8.5);
    EXPECT_DOUBLE_EQ(height, 11);
    double average = 0, lineHeight = 0;
    printer.GetTextMetrics(average, lineHeight);
    EXPECT_DOUBLE_EQ(average, 0.1);
    EXPECT_DOUBLE_EQ(lineHeight, 0.2);
}

TEST(CTPrint, ChoosingAndDefaultPrinter) {
    FakePrinterDevice cancelled;
    cancelled.chosenName = "";
    cTPrint first(cancelled);
    EXPECT_EQ(first.ChoosePrinter(), "");
    EXPECT_FALSE(cancelled.hasPrinter());

    // Measuring without a chosen printer opens the default one.
    FakePrinterDevice device;
    cTPrint printer(device);
    EXPECT_DOUBLE_EQ(printer.TextWidth("ab"), 0.2);
    EXPECT_EQ(device.calls.front(), "useDefaultPrinter");

    // With no default printer either, nothing is measured and the document
    // cannot start: the user is told.
    FakePrinterDevice none;
    none.defaultName = "";
    cTPrint nothing(none);
    EXPECT_DOUBLE_EQ(nothing.TextWidth("ab"), 0);
    EXPECT_EQ(nothing.LinesLeft(0), 0);
    EXPECT_FALSE(nothing.StartDoc("appHelp"));
    ASSERT_EQ(none.errors.size(), 1u);
    EXPECT_EQ(none.errors[0], "Printer Error: Document printing error");

    // A chosen printer that cannot be opened is not swapped for the default one.
    FakePrinterDevice unusable;
    unusable.chosenOpens = false;
    cTPrint chosen(unusable);
    EXPECT_EQ(chosen.ChoosePrinter(), "Office Printer");
    EXPECT_DOUBLE_EQ(chosen.TextWidth("ab"), 0);
    EXPECT_FALSE(chosen.StartDoc("appHelp"));
    EXPECT_EQ(std::count(unusable.calls.begin(), unusable.calls.end(), "useDefaultPrinter"), 0);
    EXPECT_EQ(unusable.errors, std::vector<std::string>{"Printer Error: Document printing error"});
}

TEST(CTPrint, PrintTextAdvancesLineByLineAndClipsToMargins) {
    FakePrinterDevice device;
    device.deviceCaps.physicalOffsetX = 25;
    device.deviceCaps.physicalOffsetY = 30;
    cTPrint fresh(device);
    fresh.ChoosePrinter();
    // Margins 0: one line height below the top edge, at the printable corner.
    fresh.PrintText("top", 0, 0);
    ASSERT_EQ(device.drawn.size(), 1u);
    EXPECT_EQ(device.drawn[0].x, 0);
    EXPECT_EQ(device.drawn[0].y, 0); // 0.2 inch lies above the printable area's top
    EXPECT_DOUBLE_EQ(fresh.currentY(), 0.2);

    device.drawn.clear();
    cTPrint printer(device);
    printer.ChoosePrinter();
    printer.SetMargins(1, 1, 0.5, 1);
    // A top margin below the first line's position: not drawn, position moves.
    printer.PrintText("hidden", 0, 0);
    EXPECT_TRUE(device.drawn.empty());
    EXPECT_DOUBLE_EQ(printer.currentY(), 0.2);

    printer.PrintText("first", 1.5, 2);
    printer.PrintText("second", 0, 0);
    ASSERT_EQ(device.drawn.size(), 2u);
    EXPECT_EQ(device.drawn[0].x, 150 - 25);
    EXPECT_EQ(device.drawn[0].y, 200 - 30);
    EXPECT_EQ(device.drawn[1].x, 150 - 25);
    EXPECT_EQ(device.drawn[1].y, 220 - 30);

    // Wider than the room up to the right margin (7.5 inches): the longest head.
    printer.PrintText("0123456789abcdefghij", 6, 3);
    EXPECT_EQ(device.drawn.back().text, "0123456789abcde"); // 1.5 inches of room

    // Crossing the left margin: the tail right of it, drawn at the margin.
    printer.PrintText("left right", 0.5, 3.5);
    EXPECT_EQ(device.drawn.back().text, "right");
    EXPECT_EQ(device.drawn.back().x, 100 - 25);
    // Wholly left of the margin: nothing.
    const size_t before = device.drawn.size();
    printer.PrintText("ab", 0.1, 4);
    EXPECT_EQ(device.drawn.size(), before);

    // A line whose bottom passes the bottom margin (10 inches) is not drawn,
    // though the position advances.
    printer.PrintText("fits", 1, 9.8);
    EXPECT_EQ(device.drawn.back().text, "fits");
    printer.PrintText("falls off", 0, 0);
    EXPECT_EQ(device.drawn.back().text, "fits");
    EXPECT_DOUBLE_EQ(printer.currentY(), 10.0);
}

TEST(CTPrint, FontsLineHeightDuplexAndPageErrors) {
    FakePrinterDevice device;
    device.deviceCaps.logPixelsY = 300;
    cTPrint printer(device);
    printer.ChoosePrinter();
    device.metrics = {50, 10, 20};
    printer.SetFont("Courier New", 12, "u");
    EXPECT_EQ(device.font.height, -50);
    EXPECT_TRUE(device.font.underline);
    double average = 0, lineHeight = 0;
    printer.GetTextMetrics(average, lineHeight);
    EXPECT_DOUBLE_EQ(lineHeight, 0.2);

    EXPECT_EQ(printer.IsDuplex(), 0);
    device.duplex = true;
    EXPECT_EQ(printer.IsDuplex(), 1);
    printer.SetDuplex(0);
    EXPECT_TRUE(device.duplexModes.empty());
    printer.SetDuplex(2);
    EXPECT_EQ(device.duplexModes, std::vector<int>{2});

    EXPECT_TRUE(printer.StartDoc(std::string(70, 'n')));
    EXPECT_EQ(device.documentName, std::string(63, 'n'));
    device.pagesThatStart = 0;
    EXPECT_FALSE(printer.StartPage());
    EXPECT_EQ(device.errors, std::vector<std::string>{"Printer Error: Page printing error"});
}

} // namespace
} // namespace plaxet
