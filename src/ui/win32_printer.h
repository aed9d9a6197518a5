#pragma once
// The printing class's device on a real printer: the print dialog (or the
// default printer), the printer's device context with its fonts, and the
// spooler's document and page brackets. Every handle has an owner, so a
// print-out that stops early leaks nothing.
#include <windows.h>

#include <winspool.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "print/printer_device.h"
#include "win/handles.h"

namespace plaxet {

class Win32PrinterDevice : public PrinterDevice {
  public:
    Win32PrinterDevice() = default;
    // The print dialog belongs to `owner`, which it keeps disabled while it
    // is up, so the window cannot change what is being printed meanwhile.
    explicit Win32PrinterDevice(HWND owner) : owner_(owner) {}
    // Works on a device context made elsewhere (a memory device context in
    // tests); a device without paper counts as all printable area.
    explicit Win32PrinterDevice(UniqueDeviceContext dc) : dc_(std::move(dc)) {}
    ~Win32PrinterDevice() override;
    Win32PrinterDevice(const Win32PrinterDevice&) = delete;
    Win32PrinterDevice& operator=(const Win32PrinterDevice&) = delete;

    std::string choosePrinter() override;
    std::string useDefaultPrinter() override;
    bool hasPrinter() const override { return dc_ != nullptr; }
    DeviceCaps caps() override;
    DeviceFontMetrics fontMetrics() override;
    void selectFont(const FontRequest& font) override;
    int32_t textExtent(std::string_view text) override;
    int32_t fitCount(std::string_view text, int32_t maxExtent) override;
    void drawText(int32_t x, int32_t y, std::string_view text) override;
    bool isDuplex() override;
    void setDuplex(int32_t mode) override;
    bool startDoc(std::string_view documentName) override;
    bool startPage() override;
    bool endPage() override;
    bool endDoc() override;
    void abortDoc() override;
    void showError(std::string_view text, std::string_view caption) override;

    HDC deviceContext() const { return dc_.get(); }

  private:
    // Opens the named printer with its own settings.
    void openPrinter(const std::string& name);
    // Puts the device context's own font back and lets go of ours.
    void releaseFont();
    void closeDevice();

    UniqueDeviceContext dc_;
    UniqueFont currentFont_;
    SelectedObject fontSelection_; // our font in dc_, gone before either of them
    UniqueGlobal settings_;        // the printer's DEVMODEA block
    UniquePrinterHandle printer_;
    std::string name_;
    HWND owner_ = nullptr;
};

} // namespace plaxet
