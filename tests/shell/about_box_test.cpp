// The About box, opened from the main window's Help menu: its labels, fonts
// and colours, the hand cursor over the links only, the links handed to the
// shell, and the three ways to close it.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/wide.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"

namespace plaxet::testing {
namespace {

constexpr int kProduct = 9901;
constexpr int kCredit = 9903;
constexpr int kMail = 9904;
constexpr int kWeb = 9905;

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

COLORREF textColourOf(HWND box, HWND control) {
    HDC dc = GetDC(box);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(box, dc);
    return colour;
}

// Whether the box takes the pointer over `control` for its own hand cursor.
bool showsHand(HWND box, HWND control) {
    const LRESULT handled = SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return handled != 0 && GetCursor() == LoadCursorW(GetModuleHandleW(nullptr), L"HAND");
}

void clickOn(HWND control) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

TEST_F(MainWindowTest, AboutBoxShowsTheProductAndHandsTheLinksToTheShell) {
    open();
    bool mainWindowDisabled = false;
    {
        WhenWindowAppears watch("About Tallyworks", [&](HWND box) {
            mainWindowDisabled = !IsWindowEnabled(window);
            HWND product = GetDlgItem(box, kProduct);
            HWND credit = GetDlgItem(box, kCredit);
            HWND mail = GetDlgItem(box, kMail);
            HWND web = GetDlgItem(box, kWeb);
            ASSERT_TRUE(product && credit && mail && web);
            EXPECT_EQ(windowText(product), "Tallyworks");
            EXPECT_EQ(windowText(credit).rfind("Version 2.30\r\n", 0), 0u);
            EXPECT_EQ(windowText(credit).substr(windowText(credit).size() - 4), "\r\n\r\n");
            EXPECT_EQ(windowText(mail), "support@plaxet.invalid");
            EXPECT_EQ(windowText(web), "https://plaxet.invalid/");

            EXPECT_EQ(fromWide(fontOf(product).lfFaceName), "MS Sans Serif");
            EXPECT_GT(-fontOf(product).lfHeight, -fontOf(credit).lfHeight)
                << "14 against 10 points";
            EXPECT_FALSE(fontOf(credit).lfUnderline);
            EXPECT_TRUE(fontOf(mail).lfUnderline);
            EXPECT_TRUE(fontOf(web).lfUnderline);
            EXPECT_EQ(textColourOf(box, product), RGB(255, 0, 0));
            EXPECT_EQ(textColourOf(box, mail), RGB(0, 0, 255));
            EXPECT_EQ(textColourOf(box, web), RGB(0, 0, 255));

            EXPECT_TRUE(showsHand(box, mail));
            EXPECT_TRUE(showsHand(box, web));
            EXPECT_FALSE(showsHand(box, credit));
            EXPECT_FALSE(showsHand(box, product));
            EXPECT_FALSE(showsHand(box, box));

            clickOn(mail);
            clickOn(web);
            EXPECT_TRUE(IsWindow(box)) << "the box stays open after a link";
            PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        command(kAboutCommand);
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut()) << "Esc closed the box";
    }
    EXPECT_TRUE(mainWindowDisabled);
    EXPECT_TRUE(IsWindowEnabled(window));
    ASSERT_EQ(responder.asked().size(), 2u);
    EXPECT_EQ(responder.asked()[0].kind, RequestKind::OpenDocument);
    EXPECT_EQ(responder.asked()[0].verb, "open");
    EXPECT_EQ(responder.asked()[0].text, "mailto:support@plaxet.invalid?");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(SW_SHOW));
    EXPECT_EQ(responder.asked()[1].text, "https://plaxet.invalid/");
    EXPECT_EQ(responder.asked()[1].style, static_cast<unsigned>(SW_SHOWMAXIMIZED));
}

TEST_F(MainWindowTest, AboutBoxClosesWithEnterAndWithItsCloseBox) {
    open();
    for (bool byEnter : {true, false}) {
        WhenWindowAppears watch("About Tallyworks", [byEnter](HWND box) {
            if (byEnter)
                PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
            else
                PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        command(kAboutCommand);
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
        EXPECT_EQ(findWindowTitled("About Tallyworks"), nullptr);
    }
    EXPECT_TRUE(responder.asked().empty());
}

} // namespace
} // namespace plaxet::testing
