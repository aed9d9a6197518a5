// The printing class on a real device context. There is no printer here, so
// the drawing runs on a memory device context (all printable area) and the
// spooler's refusal of such a device shows the printing error.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "print/ctprint.h"
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

} // namespace
} // namespace plaxet
