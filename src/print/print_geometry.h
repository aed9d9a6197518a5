#pragma once
// The printer arithmetic: inches from the paper's edge to device pixels,
// the lines that fit on a page, font heights and styles, and the texts
// handed to the spooler.
#include <cstdint>
#include <string>
#include <string_view>

#include "print/printer_device.h"

namespace plaxet {

struct PageMargins {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
};

// Rounds to the nearest whole pixel, halves to the even neighbour.
int32_t roundToPixels(double value);

// A position in inches from the paper's left or top edge as a pixel
// position on the printable area (whose corner is the device's origin).
double horizontalPixels(const DeviceCaps& caps, double x);
double verticalPixels(const DeviceCaps& caps, double y);

// Whole lines of `lineHeight` inches that fit from `y` (or the top margin,
// or the unprintable top, whichever is lowest) down to the bottom margin or
// the unprintable bottom. Zero for a line height that is not positive.
int32_t linesLeft(const DeviceCaps& caps, const PageMargins& margins, double lineHeight, double y);

// The font for `face` at `points` on a device of `logPixelsY`, styled by the
// lower-case letters in `style`: "b" bold, "u" underlined, "i" italic.
FontRequest fontRequest(std::string_view face, int32_t points, std::string_view style,
                        int32_t logPixelsY);

// The printer name in the profile's "name,driver,port" value.
std::string printerNameFromProfile(std::string_view profileValue);

// The document name as the spooler takes it: at most 63 characters.
std::string spoolerDocumentName(std::string_view name);

} // namespace plaxet
