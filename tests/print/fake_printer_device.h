#pragma once
// A printer that measures every character as the same width and records
// what it is asked to do.
#include <string>
#include <string_view>
#include <vector>

#include "print/printer_device.h"

namespace plaxet {

struct DrawnText {
    int page = 0; // 1 for the first page started
    int x = 0;
    int y = 0;
    std::string text;
    FontRequest font;
};

class FakePrinterDevice : public PrinterDevice {
  public:
    DeviceCaps deviceCaps{100, 100, 850, 1100, 0, 0, 850, 1100};
    int charWidth = 10;
    DeviceFontMetrics metrics{16, 4, 10};
    std::string chosenName = "Office Printer";
    std::string defaultName = "Default Printer";
    bool chosenOpens = true; // false: the chosen printer cannot be opened
    bool duplex = false;
    bool startDocSucceeds = true;
    bool endDocSucceeds = true;
    int pagesThatStart = 1000;

    bool open = false;
    FontRequest font;
    std::vector<DrawnText> drawn;
    std::vector<std::string> calls;
    std::vector<int> duplexModes;
    std::vector<std::string> errors; // "caption: text"
    std::string documentName;
    int pagesStarted = 0;

    std::string choosePrinter() override {
        calls.push_back("choosePrinter");
        if (!chosenName.empty() && chosenOpens) open = true;
        return chosenName;
    }
    std::string useDefaultPrinter() override {
        calls.push_back("useDefaultPrinter");
        if (!defaultName.empty()) open = true;
        return defaultName;
    }
    bool hasPrinter() const override { return open; }
    DeviceCaps caps() override { return open ? deviceCaps : DeviceCaps{}; }
    DeviceFontMetrics fontMetrics() override { return metrics; }
    void selectFont(const FontRequest& request) override { font = request; }
    int32_t textExtent(std::string_view text) override {
        return static_cast<int32_t>(text.size()) * charWidth;
    }
    int32_t fitCount(std::string_view text, int32_t maxExtent) override {
        return std::min(static_cast<int32_t>(text.size()), maxExtent / charWidth);
    }
    void drawText(int32_t x, int32_t y, std::string_view text) override {
        drawn.push_back({pagesStarted, x, y, std::string(text), font});
    }
    bool isDuplex() override { return duplex; }
    void setDuplex(int32_t mode) override { duplexModes.push_back(mode); }
    bool startDoc(std::string_view name) override {
        calls.push_back("startDoc");
        documentName = std::string(name);
        return startDocSucceeds;
    }
    bool startPage() override {
        calls.push_back("startPage");
        if (pagesStarted >= pagesThatStart) return false;
        ++pagesStarted;
        return true;
    }
    bool endPage() override {
        calls.push_back("endPage");
        return true;
    }
    bool endDoc() override {
        calls.push_back("endDoc");
        return endDocSucceeds;
    }
    void abortDoc() override { calls.push_back("abortDoc"); }
    void showError(std::string_view text, std::string_view caption) override {
        errors.push_back(std::string(caption) + ": " + std::string(text));
    }
};

} // namespace plaxet
