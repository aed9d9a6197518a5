#include "ui/win32_printer.h"

#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <string>

#include "print/print_geometry.h"
#include "runtime/utf8.h"
#include "runtime/wide.h"
#include "win/message_box.h"
#include "win/responder.h"

// The print dialog's and the spooler's records are laid out differently for
// 32-bit and 64-bit programs (the print dialog's is packed on x86); a header
// that got either wrong would hand the system a record of the wrong size.
static_assert(sizeof(PRINTDLGA) == (sizeof(void*) == 8 ? 120 : 66));
static_assert(sizeof(DOCINFOA) == (sizeof(void*) == 8 ? 40 : 20));

namespace plaxet {

Win32PrinterDevice::~Win32PrinterDevice() {
    releaseFont();
}

std::string Win32PrinterDevice::choosePrinter() {
    UserRequest request;
    request.kind = RequestKind::ChoosePrinter;
    request.owner = owner_;
    if (const auto answer = answerFromResponder(request)) {
        if (!answer->path.empty()) openPrinter(answer->path);
        return name_;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.Flags = PD_RETURNDC | PD_HIDEPRINTTOFILE | PD_NOSELECTION | PD_NOPAGENUMS;
    if (PrintDlgA(&dialog)) {
        UniqueGlobal names(dialog.hDevNames);
        UniqueGlobal settings(dialog.hDevMode);
        UniqueDeviceContext dc(dialog.hDC);
        const LockedGlobal<DEVNAMES> devNames(names.get());
        if (devNames.get() && dc) {
            releaseFont();
            name_ = reinterpret_cast<const char*>(devNames.get()) + devNames.get()->wDeviceOffset;
            dc_ = std::move(dc);
            settings_ = std::move(settings);
            printer_.reset();
        }
    }
    return name_;
}

std::string Win32PrinterDevice::useDefaultPrinter() {
    char profile[127] = {};
    GetProfileStringA("WINDOWS", "DEVICE", "", profile, sizeof(profile));
    const std::string name = printerNameFromProfile(profile);
    if (!name.empty()) openPrinter(name);
    return dc_ ? name_ : std::string();
}

void Win32PrinterDevice::openPrinter(const std::string& name) {
    releaseFont();
    name_ = name;
    dc_.reset();
    settings_.reset();
    printer_.reset();
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr) || !printer) return;
    printer_.reset(printer);
    const LONG size =
        DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), nullptr, nullptr, 0);
    if (size > 0) {
        UniqueGlobal settings(GlobalAlloc(GHND, static_cast<SIZE_T>(size)));
        const LockedGlobal<DEVMODEA> mode(settings.get());
        if (mode.get() && DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()),
                                              mode.get(), nullptr, DM_OUT_BUFFER) == IDOK)
            dc_.reset(CreateDCA("WINSPOOL", name.c_str(), nullptr, mode.get()));
        if (dc_) settings_ = std::move(settings);
    }
    if (!dc_) dc_.reset(CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr));
}

DeviceCaps Win32PrinterDevice::caps() {
    DeviceCaps caps;
    HDC dc = dc_.get();
    if (!dc) return caps;
    caps.logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    caps.logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    caps.horzRes = GetDeviceCaps(dc, HORZRES);
    caps.vertRes = GetDeviceCaps(dc, VERTRES);
    caps.physicalWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
    caps.physicalHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
    caps.physicalOffsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    caps.physicalOffsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    if (caps.physicalWidth <= 0 || caps.physicalHeight <= 0) {
        caps.physicalWidth = caps.horzRes;
        caps.physicalHeight = caps.vertRes;
        caps.physicalOffsetX = 0;
        caps.physicalOffsetY = 0;
    }
    return caps;
}

DeviceFontMetrics Win32PrinterDevice::fontMetrics() {
    TEXTMETRICA metrics{};
    if (!dc_ || !GetTextMetricsA(dc_.get(), &metrics)) return {};
    return {metrics.tmHeight, metrics.tmExternalLeading, metrics.tmAveCharWidth};
}

void Win32PrinterDevice::selectFont(const FontRequest& font) {
    if (!dc_) return;
    UniqueFont created(CreateFontA(font.height, 0, 0, 0, font.weight, font.italic, font.underline,
                                   FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                   font.face.c_str()));
    if (!created) return; // the font before stays in use
    if (!fontSelection_.select(dc_.get(), created.get())) return;
    currentFont_ = std::move(created); // the font replaced is no longer selected
}

int32_t Win32PrinterDevice::textExtent(std::string_view text) {
    SIZE size{};
    const std::wstring wide = toWide(text);
    if (!dc_ ||
        !GetTextExtentPoint32W(dc_.get(), wide.data(), static_cast<int>(wide.size()), &size))
        return 0;
    return size.cx;
}

int32_t Win32PrinterDevice::fitCount(std::string_view text, int32_t maxExtent) {
    if (!dc_ || text.empty()) return 0;
    int fit = 0;
    SIZE size{};
    const std::wstring wide = toWide(text);
    if (!GetTextExtentExPointW(dc_.get(), wide.data(), static_cast<int>(wide.size()),
                               std::max(0, maxExtent), &fit, nullptr, &size))
        return 0;
    // The system counts UTF-16 units; the caller, bytes of whole characters.
    return static_cast<int32_t>(byteOffsetOfUtf16(text, static_cast<size_t>(std::max(fit, 0))));
}

void Win32PrinterDevice::drawText(int32_t x, int32_t y, std::string_view text) {
    const std::wstring wide = toWide(text);
    if (dc_) TextOutW(dc_.get(), x, y, wide.data(), static_cast<int>(wide.size()));
}

bool Win32PrinterDevice::isDuplex() {
    const LockedGlobal<DEVMODEA> mode(settings_.get());
    return mode.get() && mode.get()->dmDuplex > 1;
}

void Win32PrinterDevice::setDuplex(int32_t mode) {
    const LockedGlobal<DEVMODEA> settings(settings_.get());
    if (!settings.get() || !dc_ || mode == 0 || settings.get()->dmFields == 0) return;
    settings.get()->dmDuplex = static_cast<short>(mode);
    settings.get()->dmFields |= DM_DUPLEX;
    ResetDCA(dc_.get(), settings.get());
    if (currentFont_) fontSelection_.select(dc_.get(), currentFont_.get());
}

bool Win32PrinterDevice::startDoc(std::string_view documentName) {
    if (!dc_) return false;
    const std::string name = spoolerDocumentName(documentName);
    DOCINFOA document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = name.c_str();
    return StartDocA(dc_.get(), &document) > 0;
}

bool Win32PrinterDevice::startPage() {
    return dc_ && StartPage(dc_.get()) > 0;
}

bool Win32PrinterDevice::endPage() {
    return dc_ && EndPage(dc_.get()) > 0;
}

bool Win32PrinterDevice::endDoc() {
    const bool ended = dc_ && EndDoc(dc_.get()) > 0;
    closeDevice();
    return ended;
}

void Win32PrinterDevice::abortDoc() {
    if (dc_) AbortDoc(dc_.get());
    closeDevice();
}

void Win32PrinterDevice::showError(std::string_view text, std::string_view caption) {
    MessageBox(text, caption, MB_OK | MB_ICONSTOP);
}

void Win32PrinterDevice::releaseFont() {
    fontSelection_.restore();
    currentFont_.reset();
}

void Win32PrinterDevice::closeDevice() {
    releaseFont();
    dc_.reset();
}

} // namespace plaxet
