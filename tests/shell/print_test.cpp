// The printing class on a real device context. There is no printer here, so
// the drawing runs on a memory device context (all printable area) and the
// spooler's refusal of such a device shows the printing error.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "print/ctprint.h"
#include "print/topic_printout.h"
#include "shell/scripted_responder.h"
#include "ui/win32_printer.h"

namespace plaxet {
namespace {

using testing::ScriptedResponder;

struct MemoryPage {
    MemoryPage() : device(UniqueDeviceContext(CreateCompatibleDC(nullptr))) {
        HDC dc = device.deviceContext();
        const int width = GetDeviceCaps(dc, HORZRES);
        const int height = GetDeviceCaps(dc, VERTRES);
        bitmap.reset(CreateBitmap(width, height, 1, 32, nullptr));
        previous = SelectObject(dc, bitmap.get());
        PatBlt(dc, 0, 0, width, height, WHITENESS);
    }
    ~MemoryPage() { SelectObject(device.deviceContext(), previous); }

    bool anyInkIn(int left, int top, int right, int bottom) const {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (GetPixel(device.deviceContext(), x, y) != RGB(255, 255, 255)) return true;
        return false;
    }

    std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectRelease> bitmap;
    Win32PrinterDevice device;
    HGDIOBJ previous = nullptr;
};

TEST(PrintOnDevice, MeasuresFitsAndDrawsWithinTheMargins) {
    ScriptedResponder responder;
    MemoryPage page;
    cTPrint printer(page.device);
    printer.SetFont("Courier New", 10, "");
    double averageCharWidth = 0;
    double lineHeight = 0;
    printer.GetTextMetrics(averageCharWidth, lineHeight);
    EXPECT_GT(averageCharWidth, 0);
    EXPECT_GT(lineHeight, 0.1);
    EXPECT_LT(lineHeight, 0.3);

    const double headWidth = printer.TextWidth("Print");
    EXPECT_GT(headWidth, 0);
    EXPECT_GT(printer.TextWidth("Print this"), headWidth);
    EXPECT_EQ(printer.FitText("Print this", headWidth), "Print");
    EXPECT_EQ(printer.FitText("Print this", -printer.TextWidth("this")), "this");

    const int dpi = GetDeviceCaps(page.device.deviceContext(), LOGPIXELSY);
    printer.SetMargins(0.5, 0.5, 0.5, 0.5);
    printer.PrintText("Hello", 1, 1);
    const int lineBottom = dpi + static_cast<int>(lineHeight * dpi);
    EXPECT_TRUE(page.anyInkIn(dpi, dpi, dpi + dpi, lineBottom));
    // Above the top margin nothing is drawn.
    printer.PrintText("Hidden", 1, 0.1);
    EXPECT_FALSE(page.anyInkIn(0, 0, 3 * dpi, dpi / 2));
    EXPECT_TRUE(responder.asked().empty());
}

TEST(PrintOnDevice, ADeviceThatCannotPrintReportsTheDocumentError) {
    ScriptedResponder responder;
    MemoryPage page;
    cTPrint printer(page.device);
    EXPECT_FALSE(printer.StartDoc("appHelp"));
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "Document printing error");
    EXPECT_EQ(responder.asked()[0].title, "Printer Error");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
}

// A memory device that takes the document and page brackets a real printer
// would: the whole print-out is then drawn with real fonts and measures.
class MemoryPrinter : public Win32PrinterDevice {
  public:
    using Win32PrinterDevice::Win32PrinterDevice;
    std::string choosePrinter() override { return "Memory"; }
    bool startDoc(std::string_view) override { return ++documents == 1; }
    bool startPage() override { return ++pages > 0; }
    bool endPage() override { return true; }
    bool endDoc() override { return true; }
    int documents = 0;
    int pages = 0;
};

TEST(PrintOnDevice, TopicPrintoutDrawsHeadingPageNumberAndBodyLines) {
    ScriptedResponder responder;
    HDC dc = CreateCompatibleDC(nullptr);
    const int width = GetDeviceCaps(dc, HORZRES);
    const int height = GetDeviceCaps(dc, VERTRES);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectRelease> bitmap(
        CreateBitmap(width, height, 1, 32, nullptr));
    MemoryPrinter device{UniqueDeviceContext(dc)};
    HGDIOBJ previous = SelectObject(dc, bitmap.get());
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    const auto inkIn = [&](int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) return true;
        return false;
    };

    cTPrint printer(device);
    const std::string body = "First line\r\n\r\nThird line";
    EXPECT_EQ(printTopic(printer, "Printing", body), PrintOutcome::Printed);
    EXPECT_EQ(device.documents, 1);
    EXPECT_EQ(device.pages, 1);
    double averageCharWidth = 0;
    double lineHeight = 0;
    printer.GetTextMetrics(averageCharWidth, lineHeight);
    const int line = static_cast<int>(lineHeight * dpi);
    ASSERT_GT(line, 0);
    const int left = dpi * 3 / 4;
    // The heading and the page number share the top line, from 0.25 inch.
    EXPECT_TRUE(inkIn(left, dpi / 4, left + dpi, dpi / 4 + 2 * line));
    EXPECT_TRUE(inkIn(width - left - dpi / 2, dpi / 4, width - left, dpi / 4 + 2 * line));
    EXPECT_FALSE(inkIn(width - left + 1, 0, width, height)) << "nothing right of the margin";
    // Body lines from five line heights down; the empty line stays empty.
    EXPECT_TRUE(inkIn(left, 5 * line, left + dpi, 6 * line));
    EXPECT_FALSE(inkIn(0, 6 * line + 1, width, 7 * line - 1));
    EXPECT_TRUE(inkIn(left, 7 * line, left + dpi, 8 * line));
    EXPECT_FALSE(inkIn(0, 8 * line + 1, width, height));
    EXPECT_TRUE(responder.asked().empty());
    SelectObject(dc, previous);
}

} // namespace
} // namespace plaxet
