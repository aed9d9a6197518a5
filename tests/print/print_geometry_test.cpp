#include "print/print_geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace plaxet {
namespace {

TEST(PrintGeometry, RoundsHalvesToEven) {
    EXPECT_EQ(roundToPixels(2.5), 2);
    EXPECT_EQ(roundToPixels(3.5), 4);
    EXPECT_EQ(roundToPixels(2.4999), 2);
    EXPECT_EQ(roundToPixels(-0.5), 0);
}

TEST(PrintGeometry, LinesLeftCountsBetweenMarginsAndUnprintableEdges) {
    // 11-inch sheet at 600 dpi, offsets below one inch and below the margins.
    DeviceCaps caps{600, 600, 5100, 6600, 100, 120, 4900, 6300};
    const PageMargins margins{0.75, 0.75, 0.25, 0.5};
    EXPECT_EQ(linesLeft(caps, margins, 0.2, 0), 51);
    // A lower start position counts from there.
    EXPECT_EQ(linesLeft(caps, margins, 0.2, 5.25), 26);
    // An unprintable top of 1.2 inches counts from its whole inch only.
    caps.physicalOffsetY = 720;
    caps.vertRes = 6600 - 720 - 180;
    EXPECT_EQ(linesLeft(caps, margins, 0.2, 0), 47); // (11 - 0.5 - 1) / 0.2 = 47.5
    // An unprintable bottom larger than the bottom margin wins.
    caps.vertRes = 6600 - 720 - 600;
    EXPECT_EQ(linesLeft(caps, margins, 0.2, 0), 45); // (11 - 1 - 1) / 0.2
    // No line height (no font yet) and no room give no lines, never a division by zero.
    EXPECT_EQ(linesLeft(caps, margins, 0, 0), 0);
    EXPECT_LT(linesLeft(caps, margins, 0.2, 12), 0);
}

TEST(PrintGeometry, FontRequestFromPointsAndStyleLetters) {
    const FontRequest body = fontRequest("Courier New", 10, "", 300);
    EXPECT_EQ(body.face, "Courier New");
    EXPECT_EQ(body.height, -41); // 300 * 10 / 72 = 41.67, truncated
    EXPECT_EQ(body.weight, 400);
    EXPECT_FALSE(body.underline || body.italic);
    EXPECT_EQ(fontRequest("Arial", 10, "", 600).height, -83);

    const FontRequest all = fontRequest("Arial", 12, "iub", 600);
    EXPECT_EQ(all.weight, 700);
    EXPECT_TRUE(all.underline && all.italic);
    const FontRequest upper = fontRequest("Arial", 12, "BUI", 600);
    EXPECT_EQ(upper.weight, 400);
    EXPECT_FALSE(upper.underline || upper.italic);
}

TEST(PrintGeometry, PrinterNameAndDocumentNameForTheSystem) {
    EXPECT_EQ(printerNameFromProfile("  Office Laser ,winspool,LPT1:"), "Office Laser");
    EXPECT_EQ(printerNameFromProfile("Office Laser"), "Office Laser");
    EXPECT_EQ(printerNameFromProfile(""), "");
    EXPECT_EQ(printerNameFromProfile("   ,winspool,LPT1:"), "");
    EXPECT_EQ(spoolerDocumentName(std::string(70, 'd')), std::string(63, 'd'));
    EXPECT_EQ(spoolerDocumentName("appHelp"), "appHelp");
}

} // namespace
} // namespace plaxet
