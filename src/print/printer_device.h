#pragma once
// What the printing class needs from a printer: its device values, fonts,
// text measurement and output, and the document and page brackets. The
// Windows program drives a real printer device context; tests use a fake.
#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// The device values the placement arithmetic rests on, all in pixels
// except the two resolutions (pixels per inch).
struct DeviceCaps {
    int32_t logPixelsX = 0;
    int32_t logPixelsY = 0;
    int32_t physicalWidth = 0;
    int32_t physicalHeight = 0;
    int32_t physicalOffsetX = 0; // left edge of the printable area
    int32_t physicalOffsetY = 0; // top edge of the printable area
    int32_t horzRes = 0;         // printable width
    int32_t vertRes = 0;         // printable height
};

struct FontRequest {
    std::string face;
    int32_t height = 0; // negative: character height without internal leading
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
};

struct DeviceFontMetrics {
    int32_t height = 0;
    int32_t externalLeading = 0;
    int32_t averageCharWidth = 0;
};

class PrinterDevice {
  public:
    virtual ~PrinterDevice() = default;

    // The user's choice of printer: its name, or empty when the choice was
    // cancelled and no printer had been chosen before.
    virtual std::string choosePrinter() = 0;
    // The system's default printer, or empty when there is none.
    virtual std::string useDefaultPrinter() = 0;
    // True once a printer has been chosen and its device is open.
    virtual bool hasPrinter() const = 0;

    virtual DeviceCaps caps() = 0;
    // Metrics of the font selected now.
    virtual DeviceFontMetrics fontMetrics() = 0;
    // Creates the font and selects it, replacing the one set before.
    virtual void selectFont(const FontRequest& font) = 0;
    virtual int32_t textExtent(std::string_view text) = 0;
    // How many characters from the start of `text` fit into `maxExtent` pixels.
    virtual int32_t fitCount(std::string_view text, int32_t maxExtent) = 0;
    // Draws with the character cell's top-left corner at (x, y).
    virtual void drawText(int32_t x, int32_t y, std::string_view text) = 0;

    virtual bool isDuplex() = 0;
    virtual void setDuplex(int32_t mode) = 0;

    virtual bool startDoc(std::string_view documentName) = 0;
    virtual bool startPage() = 0;
    // False when the spooler refuses the page or the document.
    virtual bool endPage() = 0;
    virtual bool endDoc() = 0;
    // Ends a document that failed part-way, so that nothing half-printed is sent.
    virtual void abortDoc() = 0;

    // Tells the user about a printing failure.
    virtual void showError(std::string_view text, std::string_view caption) = 0;
};

} // namespace plaxet
