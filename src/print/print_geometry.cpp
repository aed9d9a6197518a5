#include "print/print_geometry.h"

#include "runtime/text.h"

#include <algorithm>
#include <cmath>

namespace plaxet {

int32_t roundToPixels(double value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

double horizontalPixels(const DeviceCaps& caps, double x) {
    return x * caps.logPixelsX - caps.physicalOffsetX;
}

double verticalPixels(const DeviceCaps& caps, double y) {
    return y * caps.logPixelsY - caps.physicalOffsetY;
}

int32_t linesLeft(const DeviceCaps& caps, const PageMargins& margins, double lineHeight, double y) {
    if (lineHeight <= 0 || caps.logPixelsY <= 0) return 0;
    const double bottomUnprintable =
        static_cast<double>(caps.physicalHeight - caps.physicalOffsetY) - caps.vertRes;
    // Only the whole inches of the unprintable top count.
    const double topOffsetInches = caps.physicalOffsetY / caps.logPixelsY;
    const double yTop = std::max({margins.top, topOffsetInches, y});
    const double yBottom = std::max(margins.bottom, bottomUnprintable / caps.logPixelsY);
    const double pageHeight = static_cast<double>(caps.physicalHeight) / caps.logPixelsY;
    return static_cast<int32_t>(std::floor((pageHeight - yBottom - yTop) / lineHeight));
}

FontRequest fontRequest(std::string_view face, int32_t points, std::string_view style,
                        int32_t logPixelsY) {
    FontRequest font;
    font.face = std::string(face);
    font.height = -(logPixelsY * points / 72);
    font.weight = style.find('b') != std::string_view::npos ? 700 : 400;
    font.underline = style.find('u') != std::string_view::npos;
    font.italic = style.find('i') != std::string_view::npos;
    return font;
}

std::string printerNameFromProfile(std::string_view profileValue) {
    return std::string(TrimView(profileValue.substr(0, profileValue.find(','))));
}

std::string spoolerDocumentName(std::string_view name) {
    return std::string(name.substr(0, 63));
}

} // namespace plaxet
