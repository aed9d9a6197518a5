#include "print/ctprint.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace plaxet {

std::string cTPrint::UseDefaultPrinter() {
    printerName_ = device_.useDefaultPrinter();
    updateLineHeight();
    return printerName_;
}

std::string cTPrint::ChoosePrinter() {
    std::string chosen = device_.choosePrinter();
    if (!chosen.empty()) printerName_ = std::move(chosen);
    updateLineHeight();
    return printerName_;
}

void cTPrint::SetFont(std::string_view face, int32_t points, std::string_view style) {
    ensurePrinter();
    if (!device_.hasPrinter()) return;
    device_.selectFont(fontRequest(face, points, style, device_.caps().logPixelsY));
    updateLineHeight();
}

double cTPrint::TextWidth(std::string_view text) {
    ensurePrinter();
    const DeviceCaps caps = device_.caps();
    if (caps.logPixelsX <= 0) return 0;
    return static_cast<double>(device_.textExtent(text)) / caps.logPixelsX;
}

std::string cTPrint::FitText(std::string_view text, double width) {
    ensurePrinter();
    const DeviceCaps caps = device_.caps();
    if (width == 0 || text.empty()) return {};
    const int32_t maxExtent = roundToPixels(std::abs(width) * caps.logPixelsX);
    if (width > 0) {
        const auto fit = static_cast<size_t>(std::clamp<int32_t>(
            device_.fitCount(text, maxExtent), 0, static_cast<int32_t>(text.size())));
        return std::string(text.substr(0, fit));
    }
    // The characters in reverse order, each keeping its own bytes in order.
    std::string reversed;
    reversed.reserve(text.size());
    for (size_t end = text.size(); end > 0;) {
        size_t start = end - 1;
        while (start > 0 && !isCharacterBoundary(text, start)) --start;
        reversed.append(text.substr(start, end - start));
        end = start;
    }
    const auto fit = static_cast<size_t>(std::clamp<int32_t>(device_.fitCount(reversed, maxExtent),
                                                             0, static_cast<int32_t>(text.size())));
    return std::string(text.substr(text.size() - fit));
}

void cTPrint::SetMargins(double left, double right, double top, double bottom) {
    margins_ = {left, right, top, bottom};
}

void cTPrint::GetPageSize(double& width, double& height) {
    ensurePrinter();
    const DeviceCaps caps = device_.caps();
    width = caps.logPixelsX > 0 ? static_cast<double>(caps.physicalWidth) / caps.logPixelsX : 0;
    height = caps.logPixelsY > 0 ? static_cast<double>(caps.physicalHeight) / caps.logPixelsY : 0;
}

void cTPrint::GetTextMetrics(double& averageCharWidth, double& lineHeight) {
    ensurePrinter();
    const DeviceCaps caps = device_.caps();
    averageCharWidth =
        caps.logPixelsX > 0
            ? static_cast<double>(device_.fontMetrics().averageCharWidth) / caps.logPixelsX
            : 0;
    lineHeight = lineHeight_;
}

int32_t cTPrint::LinesLeft(double y) {
    ensurePrinter();
    return linesLeft(device_.caps(), margins_, lineHeight_, y);
}

int32_t cTPrint::IsDuplex() {
    return device_.hasPrinter() && device_.isDuplex() ? 1 : 0;
}

void cTPrint::SetDuplex(int32_t mode) {
    if (mode == 0 || !device_.hasPrinter()) return;
    device_.setDuplex(mode);
}

void cTPrint::SetPosition(double x, double y) {
    currentX_ = x;
    currentY_ = y;
}

void cTPrint::PrintText(std::string_view text, double x, double y) {
    ensurePrinter();
    if (x != 0)
        currentX_ = x;
    else
        x = currentX_;
    if (y != 0) {
        currentY_ = y;
    } else {
        y = currentY_ + lineHeight_;
        currentY_ = y;
    }
    if (!device_.hasPrinter()) return;
    const DeviceCaps caps = device_.caps();
    if (caps.logPixelsX <= 0 || caps.logPixelsY <= 0) return;

    std::string shown(text);
    const int32_t cx = device_.textExtent(shown);
    const int32_t rightLimit = roundToPixels((caps.physicalWidth - caps.physicalOffsetX) -
                                             margins_.right * caps.logPixelsX);
    const int32_t bottomLimit = roundToPixels((caps.physicalHeight - caps.physicalOffsetY) -
                                              margins_.bottom * caps.logPixelsY);
    int32_t px = roundToPixels(std::max(0.0, horizontalPixels(caps, x)));
    const int32_t py = roundToPixels(std::max(0.0, verticalPixels(caps, y)));
    const int32_t leftPx = roundToPixels(std::max(0.0, horizontalPixels(caps, margins_.left)));

    if (margins_.left > x) {
        // Keep only the part right of the left margin; a text that ends at
        // or before the margin has nothing to show.
        const double rightEnd = x + TextWidth(shown);
        if (rightEnd <= margins_.left) return;
        shown = FitText(shown, -(rightEnd - margins_.left));
        px = leftPx;
    }
    if (cx + px > rightLimit) {
        const double room = static_cast<double>(rightLimit - px) / caps.logPixelsX;
        shown = room > 0 ? FitText(shown, room) : std::string();
    }
    if (margins_.top > y) return;
    // In whole pixels, so that a line ending exactly on the bottom margin is
    // drawn on every target whatever its floating-point precision.
    if (roundToPixels(lineHeight_ * caps.logPixelsY) + py > bottomLimit) return;
    if (shown.empty()) return;
    device_.drawText(px, py, shown);
}

bool cTPrint::StartDoc(std::string_view documentName) {
    ensurePrinter();
    if (!device_.hasPrinter() || !device_.startDoc(spoolerDocumentName(documentName))) {
        ReportPrintError(1);
        return false;
    }
    return true;
}

bool cTPrint::StartPage() {
    if (!device_.hasPrinter() || !device_.startPage()) {
        ReportPrintError(2);
        return false;
    }
    return true;
}

bool cTPrint::EndPage() {
    if (device_.hasPrinter() && device_.endPage()) return true;
    ReportPrintError(2);
    return false;
}

bool cTPrint::EndDoc() {
    if (device_.hasPrinter() && device_.endDoc()) return true;
    ReportPrintError(1);
    return false;
}

void cTPrint::AbortDoc() {
    if (device_.hasPrinter()) device_.abortDoc();
}

void cTPrint::ensurePrinter() {
    // A chosen printer that could not be opened is not silently swapped for
    // the default one: starting the document reports the failure instead.
    if (!device_.hasPrinter() && printerName_.empty()) UseDefaultPrinter();
}

void cTPrint::updateLineHeight() {
    if (!device_.hasPrinter()) return;
    const DeviceCaps caps = device_.caps();
    if (caps.logPixelsY <= 0) return;
    const DeviceFontMetrics metrics = device_.fontMetrics();
    lineHeight_ = static_cast<double>(metrics.height + metrics.externalLeading) / caps.logPixelsY;
}

void cTPrint::ReportPrintError(int32_t code) {
    const char* text = code == 1   ? "Document printing error"
                       : code == 2 ? "Page printing error"
                                   : "Unspecified printer error";
    device_.showError(text, "Printer Error");
}

} // namespace plaxet
