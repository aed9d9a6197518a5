// The window toolkit on the real Win32 API: forms, controls, fonts, colours,
// menus, the modal loop, and the message box, file dialog, clipboard and
// process operations.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "runtime/wide.h"
#include "shell/scripted_responder.h"
#include "shell/window_driver.h"
#include "win/clipboard.h"
#include "win/controls.h"
#include "win/file_dialogs.h"
#include "win/fonts.h"
#include "win/forms.h"
#include "win/handles.h"
#include "win/menus.h"
#include "win/message_box.h"
#include "win/process.h"
#include "win/status_bar.h"
#include "win/tree_view.h"

namespace plaxet {
namespace {

using testing::pumpUntil;
using testing::WhenWindowAppears;

FormLayout pixelForm(int width, int height) {
    FormLayout params;
    params.caption = "Pixel form";
    params.width = width;
    params.height = height;
    params.pixels = true;
    return params;
}

FormLayout dialogUnitForm(int width, int height) {
    FormLayout params = pixelForm(width, height);
    params.pixels = false;
    return params;
}

// A form that is destroyed when the test ends, whatever happened.
struct TestForm {
    HWND window = nullptr;
    explicit TestForm(const FormLayout& params) : window(FormNew(params)) {}
    TestForm() : TestForm(dialogUnitForm(300, 200)) {}
    ~TestForm() {
        if (IsWindow(window)) DestroyWindow(window);
    }
};

ControlDef control(ControlKind kind, int id, std::string_view text, int x, int y, int width,
                   int height, DWORD style = kDefaultStyle) {
    return ControlDef{kind, id, text, x, y, width, height, style, 0};
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}
DWORD extendedStyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
}

LOGFONTW fontOf(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

TEST(Toolkit, FormFromTemplateHasItsSizePlaceAndFont) {
    FormLayout params = pixelForm(400, 250);
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    TestForm form(params);
    ASSERT_NE(form.window, nullptr);
    EXPECT_FALSE(IsWindowVisible(form.window)) << "WS_VISIBLE is always removed";
    EXPECT_EQ(testing::windowText(form.window), "Pixel form");

    RECT client{};
    GetClientRect(form.window, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 250);

    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT frame{};
    GetWindowRect(form.window, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, (area.top + area.bottom) / 2, 1);

    // The template names the default form face in bold; dialog units follow it.
    const LOGFONTW templateFont =
        fontOf(reinterpret_cast<HFONT>(SendMessageW(form.window, WM_GETFONT, 0, 0)));
    EXPECT_EQ(fromWide(templateFont.lfFaceName), "MS Sans Serif");
    EXPECT_EQ(templateFont.lfWeight, FW_BOLD);

    // The menu bar takes client height; the form can be given it back.
    UniqueMenu bar = MenuNew(MenuKind::Bar);
    MenuAddItem(bar.get(), "&Only", 700);
    MenuAttach(form.window, std::move(bar));
    FormSetClientSize(form.window, 400, 250);
    GetClientRect(form.window, &client);
    EXPECT_EQ(client.bottom, 250);
}

TEST(Toolkit, ControlsGetTheirKindsDefaultStylesAndTheDefaultFont) {
    TestForm form(pixelForm(300, 300));
    HWND box = ControlAdd(form.window, control(ControlKind::TextBox, 10, "abc", 5, 5, 100, 20));
    HWND bar = ControlAdd(form.window, control(ControlKind::ScrollBar, 11, "", 200, 5, 16, 120));
    HWND flatBar =
        ControlAdd(form.window, control(ControlKind::ScrollBar, 12, "", 5, 200, 120, 16));
    HWND option =
        ControlAdd(form.window, control(ControlKind::OptionButton, 13, "One", 5, 40, 80, 16));
    HWND grouped =
        ControlAdd(form.window, {ControlKind::OptionButton, 14, "Two", 5, 60, 80, 16, WS_GROUP});
    HWND label =
        ControlAdd(form.window, control(ControlKind::Label, kNoId, "Label", 5, 80, 80, 16));
    HWND tree = ControlAdd(form.window, control(ControlKind::TreeView, 15, "", 120, 40, 70, 100));
    ASSERT_TRUE(box && bar && flatBar && option && grouped && label && tree);

    EXPECT_TRUE(extendedStyleOf(box) & WS_EX_CLIENTEDGE) << "sunken edge for the border";
    EXPECT_FALSE(styleOf(box) & WS_BORDER);
    EXPECT_TRUE(styleOf(box) & ES_AUTOHSCROLL);
    EXPECT_TRUE(styleOf(box) & WS_TABSTOP);
    EXPECT_EQ(styleOf(bar) & SBS_VERT, static_cast<DWORD>(SBS_VERT));
    EXPECT_EQ(styleOf(flatBar) & SBS_VERT, 0u);
    SCROLLINFO range{};
    range.cbSize = sizeof(range);
    range.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &range);
    EXPECT_EQ(range.nMin, 0);
    EXPECT_EQ(range.nMax, 100);
    EXPECT_EQ(range.nPage, 10u);
    EXPECT_EQ(range.nPos, 0);
    EXPECT_EQ(styleOf(option) & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_TRUE(styleOf(option) & WS_TABSTOP);
    // A given style keeps the kind's class bits but not its default extras.
    EXPECT_EQ(styleOf(grouped) & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_TRUE(styleOf(grouped) & WS_GROUP);
    EXPECT_FALSE(styleOf(grouped) & WS_TABSTOP);
    EXPECT_TRUE(styleOf(tree) & TVS_HASLINES);

    // (Scroll bars keep no font.)
    const int dpi = FormDpi(form.window);
    for (HWND control : {box, option, label, tree})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                  fontHandle(kDefaultFormFont, dpi));
    const LOGFONTW defaultFont = fontOf(fontHandle(kDefaultFormFont, dpi));
    EXPECT_EQ(fromWide(defaultFont.lfFaceName), "MS Sans Serif");
    EXPECT_EQ(defaultFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(defaultFont.lfHeight, fontPixelHeight(8, dpi));

    // Creation order is the tab order.
    EXPECT_EQ(GetNextDlgTabItem(form.window, box, FALSE), option);
    EXPECT_EQ(ControlGetBounds(form.window, 11).x, 200);
    EXPECT_EQ(ControlGetBounds(form.window, 11).height, 120);
    ControlMove(form.window, 11, 210, 6);
    ControlResize(form.window, 11, 18, 130);
    const ControlBounds moved = ControlGetBounds(form.window, 11);
    EXPECT_EQ(moved.x, 210);
    EXPECT_EQ(moved.y, 6);
    EXPECT_EQ(moved.width, 18);
    EXPECT_EQ(moved.height, 130);

    // UTF-8 both ways: c-cedilla, and a name no ANSI code page holds whole
    // ("Łukasz Nguyễn 王芳", and an emoji of two UTF-16 units).
    for (const std::string text :
         {"Fa\xC3\xA7"
          "ade",
          "\xC5\x81ukasz Nguy\xE1\xBB\x85n \xE7\x8E\x8B\xE8\x8A\xB3 \xF0\x9F\x98\x80"}) {
        ControlSetText(form.window, 10, text);
        EXPECT_EQ(ControlGetText(form.window, 10), text);
    }
    ControlEnable(form.window, 10, false);
    EXPECT_FALSE(ControlIsEnabled(form.window, 10));
    ControlKill(form.window, 10);
    EXPECT_EQ(ControlWindow(form.window, 10), nullptr);
    EXPECT_EQ(ControlGetText(form.window, 10), "") << "a missing control reads as empty";

    OptionSelect(form.window, 13, 14, 14);
    EXPECT_FALSE(ControlIsChecked(form.window, 13));
    EXPECT_TRUE(ControlIsChecked(form.window, 14));
}

TEST(Toolkit, ControlsInDialogUnitsAreMappedThroughTheFormFont) {
    TestForm form; // 300 x 200 dialog units
    ControlAdd(form.window, control(ControlKind::PushButton, 20, "Go", 10, 20, 40, 14));
    RECT expected{10, 20, 50, 34};
    MapDialogRect(form.window, &expected);
    const ControlBounds bounds = ControlGetBounds(form.window, 20); // in layout pixels
    EXPECT_EQ(bounds.x, FormUnscale(form.window, expected.left));
    EXPECT_EQ(bounds.y, FormUnscale(form.window, expected.top));
    EXPECT_EQ(bounds.width, FormUnscale(form.window, expected.right - expected.left));
    RECT size{0, 0, 300, 200};
    MapDialogRect(form.window, &size);
    RECT client{};
    GetClientRect(form.window, &client);
    EXPECT_EQ(client.right, size.right);
}

TEST(Toolkit, FontTableSharesEqualFonts) {
    // Fonts 1 to 3 are never released; the fonts tested here come later.
    for (int points = 9; FontNew("Courier New", points, 0) < 3; ++points) {
    }
    const int big = FontNew("Arial", 15, 0);
    ASSERT_GT(big, 3);
    EXPECT_EQ(FontNew("Arial", 15, 0), big);
    const int underlined = FontNew("Arial", 15, kFontUnderline);
    EXPECT_NE(underlined, big);
    EXPECT_EQ(FontNew("MS Sans Serif", 0, 0), kDefaultFormFont) << "0 points means 8";
    EXPECT_TRUE(fontOf(fontHandle(underlined, 96)).lfUnderline);

    // Points at the window's DPI, rounded to the nearest pixel.
    EXPECT_EQ(fontPixelHeight(14, 96), -19);
    EXPECT_EQ(fontPixelHeight(8, 120), -13);
    EXPECT_EQ(fontPixelHeight(14, 144), -28);
    EXPECT_EQ(fontOf(fontHandle(big, 192)).lfHeight, fontPixelHeight(15, 192));
    EXPECT_NE(fontHandle(big, 192), fontHandle(big, 96)) << "one font for each DPI";

    TestForm form(pixelForm(200, 100));
    ControlAdd(form.window, control(ControlKind::Label, 30, "Big", 5, 5, 100, 30));
    ControlSetFont(form.window, 30, big);
    HFONT bigHandle = fontHandle(big, FormDpi(form.window));
    EXPECT_EQ(reinterpret_cast<HFONT>(ControlSend(form.window, 30, WM_GETFONT)), bigHandle);
    EXPECT_EQ(fontHandle(big, FormDpi(form.window)), bigHandle) << "made once";
}

TEST(Toolkit, ControlColoursAnswerTheColourMessages) {
    TestForm form(pixelForm(200, 100));
    HWND plain = ControlAdd(form.window, control(ControlKind::Label, 40, "Plain", 5, 5, 80, 16));
    HWND red = ControlAdd(form.window, control(ControlKind::Label, 41, "Red", 5, 25, 80, 16));
    HWND boxed = ControlAdd(form.window, control(ControlKind::Label, 42, "Boxed", 5, 45, 80, 16));
    ControlSetColors(form.window, 41, RGB(255, 0, 0), kDefaultColor);
    ControlSetColors(form.window, 42, RGB(0, 0, 255), RGB(255, 255, 0));
    FormShowModeless(form.window, [](HWND, UINT, WPARAM, LPARAM) -> intptr_t { return 0; });

    HDC dc = GetDC(form.window);
    auto ask = [&](HWND control) {
        return SendMessageW(form.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
    };
    SetTextColor(dc, RGB(1, 2, 3));
    ask(plain);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT)) << "the system's colours";
    EXPECT_NE(ask(red), 0);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    const auto brush = reinterpret_cast<HBRUSH>(ask(boxed));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof(fill), &fill);
    EXPECT_EQ(fill.lbColor, RGB(255, 255, 0));
    ReleaseDC(form.window, dc);
}

TEST(Toolkit, MenusTakeItemsSeparatorsAndSubmenus) {
    UniqueMenu file = MenuNew(MenuKind::Popup);
    MenuAddItem(file.get(), "&Open", 601);
    MenuAddItem(file.get(), "-", 0);
    MenuAddItem(file.get(), "E&xit", 602);
    HMENU fileHandle = file.get();
    UniqueMenu bar = MenuNew(MenuKind::Bar);
    MenuAddSubmenu(bar.get(), "&File", std::move(file));

    EXPECT_EQ(GetMenuItemCount(fileHandle), 3);
    EXPECT_EQ(GetMenuItemID(fileHandle, 0), 601u);
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(fileHandle, 1, TRUE, &separator);
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    wchar_t text[32] = {};
    GetMenuStringW(fileHandle, 2, text, 32, MF_BYPOSITION);
    EXPECT_EQ(fromWide(text), "E&xit");
    EXPECT_EQ(GetSubMenu(bar.get(), 0), fileHandle);

    TestForm form(pixelForm(200, 100));
    HMENU barHandle = bar.get();
    MenuAttach(form.window, std::move(bar));
    EXPECT_EQ(GetMenu(form.window), barHandle);
}

TEST(Toolkit, CloseBoxEndsAFormUnlessItsProcedureKeepsIt) {
    TestForm ignoring(pixelForm(200, 100));
    std::vector<UINT> seen;
    FormShowModeless(ignoring.window, [&seen](HWND, UINT message, WPARAM, LPARAM) -> intptr_t {
        seen.push_back(message);
        return 0;
    });
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(seen[1], static_cast<UINT>(WM_SIZE));
    SendMessageW(ignoring.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(ignoring.window));
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_CLOSE)), seen.end())
        << "the event procedure sees WM_CLOSE";

    TestForm keeping(pixelForm(200, 100));
    FormShowModeless(keeping.window, [](HWND, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        return message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE;
    });
    SendMessageW(keeping.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(keeping.window));
}

TEST(Toolkit, EscapeIsACancelCommandThatClosesNothingByItself) {
    TestForm form(pixelForm(200, 100));
    ControlAdd(form.window, control(ControlKind::TextBox, 50, "", 5, 5, 100, 20));
    int cancels = 0;
    FormShowModeless(form.window,
                     [&cancels](HWND, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
                         if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) ++cancels;
                         return 0;
                     });
    ControlSetFocus(form.window, 50);
    ASSERT_TRUE(pumpUntil(form.window, [] { return GetFocus() != nullptr; }));
    testing::pressKey(VK_ESCAPE);
    EXPECT_TRUE(pumpUntil(form.window, [&cancels] { return cancels == 1; }));
    EXPECT_TRUE(IsWindow(form.window));
}

TEST(Toolkit, ModalFormDisablesItsOwnerUntilFormEnd) {
    TestForm owner(pixelForm(300, 200));
    FormShowModeless(owner.window, [](HWND, UINT, WPARAM, LPARAM) -> intptr_t { return 0; });
    FormLayout params = pixelForm(120, 80);
    params.owner = owner.window;
    HWND modal = FormNew(params);
    bool ownerDisabledMeanwhile = false;
    std::vector<UINT> order;
    const intptr_t result =
        FormShowModal(modal, [&](HWND form, UINT message, WPARAM, LPARAM) -> intptr_t {
            if (message == WM_INITDIALOG || message == WM_SIZE || message == WM_CLOSE)
                order.push_back(message);
            if (message == WM_INITDIALOG) PostMessageW(form, WM_APP, 0, 0);
            if (message == WM_APP) {
                ownerDisabledMeanwhile = !IsWindowEnabled(owner.window);
                FormEnd(form, 42);
                return 1;
            }
            return 0;
        });
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    EXPECT_FALSE(IsWindow(modal));
    EXPECT_EQ(order, (std::vector<UINT>{WM_INITDIALOG, WM_SIZE, WM_CLOSE}));
}

TEST(Toolkit, AcceleratorsTurnKeysIntoCommands) {
    TestForm form(pixelForm(200, 100));
    ControlAdd(form.window, control(ControlKind::TextBox, 60, "", 5, 5, 100, 20));
    int commands = 0;
    FormShowModeless(form.window,
                     [&commands](HWND, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
                         if (message == WM_COMMAND && LOWORD(wParam) == 901) ++commands;
                         return 0;
                     });
    AcceleratorsSet(form.window, {ACCEL{FVIRTKEY, VK_F3, 901}});
    ControlSetFocus(form.window, 60);
    ASSERT_TRUE(pumpUntil(form.window, [] { return GetFocus() != nullptr; }));
    testing::pressKey(VK_F3);
    EXPECT_TRUE(pumpUntil(form.window, [&commands] { return commands == 1; }));
}

TEST(Toolkit, TreeViewAndStatusBarOperations) {
    TestForm form(pixelForm(300, 250));
    ControlAdd(form.window, control(ControlKind::TreeView, 70, "", 5, 5, 200, 180));
    ControlAdd(form.window, control(ControlKind::StatusBar, 71, "", 0, 0, 0, 0));
    HTREEITEM top = TreeAddItem(form.window, 70, TVI_ROOT, "Chapter", 1);
    HTREEITEM child = TreeAddItem(form.window, 70, top, "Section \xC3\xA9", 2, TVIS_BOLD);
    ASSERT_TRUE(top && child);
    EXPECT_EQ(TreeItemText(form.window, 70, child), "Section \xC3\xA9");
    EXPECT_EQ(TreeItemParam(form.window, 70, child), 2);
    TreeExpand(form.window, 70, top, true);
    EXPECT_TRUE(ControlSend(form.window, 70, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(top),
                            TVIS_EXPANDED) &
                TVIS_EXPANDED);
    ControlSend(form.window, 70, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(TreeSelectedItem(form.window, 70), child);
    TreeDeleteItem(form.window, 70, child);
    EXPECT_EQ(ControlSend(form.window, 70, TVM_GETCOUNT), 1);

    StatusBarSetParts(form.window, 71, {100, -1});
    StatusBarSetText(form.window, 71, 2, "Ready");
    EXPECT_EQ(ControlSend(form.window, 71, SB_GETPARTS), 2);
    wchar_t text[32] = {};
    ControlSend(form.window, 71, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(fromWide(text), "Ready");
}

TEST(Toolkit, MessageBoxIsARealBoxWithoutOwnerUnlessAResponderAnswers) {
    HWND owner = reinterpret_cast<HWND>(1); // anything but null, to see it replaced
    int pressed = 0;
    {
        WhenWindowAppears watch("Real box", [&owner](HWND box) {
            owner = GetWindow(box, GW_OWNER);
            PostMessageW(box, WM_COMMAND, IDNO, 0);
        });
        pressed = MessageBox("Is this real?", "Real box", MB_YESNO | MB_ICONQUESTION);
        EXPECT_TRUE(watch.acted());
    }
    EXPECT_EQ(pressed, IDNO);
    EXPECT_EQ(owner, nullptr);

    testing::ScriptedResponder responder;
    responder.answerButton(IDYES);
    EXPECT_EQ(MessageBox("Scripted?", "Answered", MB_YESNO | MB_ICONSTOP), IDYES);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "Scripted?");
    EXPECT_EQ(responder.asked()[0].title, "Answered");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONSTOP));

    ShellOpen("open", "https://example.invalid/", SW_SHOWMAXIMIZED);
    ASSERT_EQ(responder.asked().size(), 2u);
    EXPECT_EQ(responder.asked()[1].kind, RequestKind::OpenDocument);
    EXPECT_EQ(responder.asked()[1].verb, "open");
    EXPECT_EQ(responder.asked()[1].text, "https://example.invalid/");
    EXPECT_EQ(responder.asked()[1].style, static_cast<unsigned>(SW_SHOWMAXIMIZED));
}

TEST(Toolkit, FileDialogIsPlacedFromItsOwnersCorner) {
    TestForm owner(pixelForm(500, 400));
    FormShowModeless(owner.window, [](HWND, UINT, WPARAM, LPARAM) -> intptr_t { return 0; });
    RECT ownerFrame{};
    GetWindowRect(owner.window, &ownerFrame);

    auto placedAt = [&](std::optional<POINT> position) {
        POINT corner{-1, -1};
        WhenWindowAppears watch("Pick a form", [&corner](HWND dialog) {
            RECT frame{};
            GetWindowRect(dialog, &frame);
            corner = {frame.left, frame.top};
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        FileDialogOptions params;
        params.owner = owner.window;
        params.title = "Pick a form";
        params.filter = {{"Forms", "*.plx"}, {"All files", "*.*"}};
        params.defaultExtension = "plx";
        params.flags = OFN_FILEMUSTEXIST;
        params.position = position;
        EXPECT_EQ(OpenFileDialog(params), "") << "cancelled";
        EXPECT_TRUE(watch.acted());
        return corner;
    };
    const POINT byDefault = placedAt(std::nullopt);
    EXPECT_EQ(byDefault.x, ownerFrame.left + 30);
    EXPECT_EQ(byDefault.y, ownerFrame.top + 30);
    const POINT given = placedAt(POINT{50, 70});
    EXPECT_EQ(given.x, ownerFrame.left + 50);
    EXPECT_EQ(given.y, ownerFrame.top + 70);

    testing::ScriptedResponder responder;
    responder.answerPath("C:\\forms\\a.plx");
    FileDialogOptions params;
    params.title = "Save File";
    EXPECT_EQ(SaveFileDialog(params), "C:\\forms\\a.plx");
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].kind, RequestKind::SaveFile);
    EXPECT_TRUE(responder.asked()[0].style & OFN_NOCHANGEDIR);
}

TEST(Toolkit, ClipboardHoldsTheTextGiven) {
    TestForm form(pixelForm(100, 100));
    const std::string path = "C:\\forms\\\xC5\x81\xC3\xB3"
                             "d\xC5\xBA caf\xC3\xA9.rtf"; // Łódź café.rtf
    ASSERT_TRUE(ClipboardSetText(form.window, path));
    EXPECT_EQ(ClipboardGetText(form.window), path);
    ASSERT_TRUE(ClipboardSetText(form.window, ""));
    EXPECT_EQ(ClipboardGetText(form.window), "");
}

TEST(Toolkit, ShellStartsProgramsAndWaitsForTheirExitCode) {
    TestForm form(pixelForm(100, 100));
    EXPECT_EQ(Shell("cmd.exe /c exit 7", SW_HIDE, true, form.window), 7);
    EXPECT_TRUE(IsWindowEnabled(form.window)) << "the held window is given back";
    EXPECT_EQ(Shell("no-such-program-here.exe", SW_HIDE, true, form.window), kNotStarted);
    EXPECT_TRUE(IsWindowEnabled(form.window));
}

TEST(Toolkit, CommandLineArgumentsFollowTheProgramName) {
    EXPECT_EQ(argumentsAfterProgramName("\"C:\\Program Files\\p.exe\"  \"a b.plx\""),
              "\"a b.plx\"");
    EXPECT_EQ(argumentsAfterProgramName("p.exe   x.plx"), "x.plx");
    EXPECT_EQ(argumentsAfterProgramName("p.exe"), "");
    EXPECT_EQ(argumentsAfterProgramName("\"unclosed"), "");
}

// Waiting for a program: the thread's windows keep handling their messages
// (here a timer, a repaint) while the held window takes no input, not even
// keys meant for its focused box, and the window is given back when the
// program ends.
TEST(Toolkit, WaitingForAProgramKeepsTheWindowPaintingAndHoldsItsInput) {
    TestForm form(pixelForm(200, 100));
    HWND box = ControlAdd(form.window, control(ControlKind::TextBox, 10, "", 5, 5, 100, 20));
    UniqueKernelHandle ended(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    int ticks = 0;
    bool heldMeanwhile = false;
    bool repaintedMeanwhile = false;
    FormShowModeless(form.window, [&](HWND window, UINT message, WPARAM, LPARAM) -> intptr_t {
        if (message != WM_TIMER) return 0;
        ++ticks;
        if (ticks == 1) {
            heldMeanwhile = !IsWindowEnabled(window);
            InvalidateRect(window, nullptr, TRUE);
            PostMessageW(box, WM_CHAR, 'x', 1);
        } else if (ticks == 3) {
            repaintedMeanwhile = !GetUpdateRect(window, nullptr, FALSE);
            SetEvent(ended.get());
        }
        return 1;
    });
    UpdateWindow(form.window);
    ASSERT_NE(SetTimer(form.window, 1, 30, nullptr), 0u);
    EXPECT_TRUE(WaitKeepingWindows(ended.get(), form.window));
    KillTimer(form.window, 1);
    EXPECT_EQ(ticks, 3) << "the wait ends when the program does";
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_TRUE(repaintedMeanwhile);
    EXPECT_EQ(ControlGetText(form.window, 10), "") << "a key reached the held window";
    EXPECT_TRUE(IsWindowEnabled(form.window));

    // A window that was disabled already stays so.
    ResetEvent(ended.get());
    EnableWindow(form.window, FALSE);
    ticks = 0;
    ASSERT_NE(SetTimer(form.window, 1, 10, nullptr), 0u);
    EXPECT_TRUE(WaitKeepingWindows(ended.get(), form.window));
    KillTimer(form.window, 1);
    EXPECT_FALSE(IsWindowEnabled(form.window));
}

// The end of the program's message loop (WM_QUIT) ends a wait early and
// closes a modal form the way its close box does, where the form may refuse;
// either way it reaches the loop around them instead of being swallowed.
TEST(Toolkit, QuitMessageEndsWaitsAndModalLoopsAndIsPassedOn) {
    auto takeQuit = [](WPARAM& code) {
        MSG message{};
        if (!PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
        code = message.wParam;
        return true;
    };
    UniqueKernelHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    TestForm form(pixelForm(100, 100));
    PostQuitMessage(3);
    EXPECT_FALSE(WaitKeepingWindows(never.get(), form.window));
    WPARAM code = 0;
    ASSERT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 3u);
    EXPECT_TRUE(IsWindowEnabled(form.window));

    TestForm modal(pixelForm(100, 100));
    int closings = 0;
    PostQuitMessage(4);
    FormShowModal(modal.window, [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return 0;
        if (++closings == 1) {
            PostQuitMessage(5); // refused; asked again
            return 1;
        }
        FormEnd(window, 0);
        return 1;
    });
    EXPECT_EQ(closings, 2) << "each request went the close box's way";
    EXPECT_FALSE(IsWindow(modal.window)) << "the loop ended with its form";
    ASSERT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 5u);
}

// What an event procedure throws is stopped at the window: reported in a
// message box, and the form stays and keeps working.
TEST(Toolkit, AFailureInAnEventProcedureIsReportedAndTheFormKept) {
    testing::ScriptedResponder responder;
    TestForm form;
    int handled = 0;
    FormShowModeless(form.window, [&](HWND, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        if (message != WM_COMMAND) return 0;
        if (LOWORD(wParam) == 41) throw std::runtime_error("the disk is full");
        if (LOWORD(wParam) == 42) throw 42;
        ++handled;
        return 1;
    });
    SendMessageW(form.window, WM_COMMAND, 41, 0);
    ASSERT_EQ(responder.asked().size(), 1u);
    const UserRequest& report = responder.asked()[0];
    EXPECT_EQ(report.title, "Plaxet");
    EXPECT_EQ(report.style, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_NE(report.text.find("unexpected failure"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("the disk is full"), std::string::npos) << report.text;

    SendMessageW(form.window, WM_COMMAND, 42, 0);
    ASSERT_EQ(responder.asked().size(), 2u) << "a failure without words is reported too";
    EXPECT_NE(responder.asked()[1].text.find("unexpected failure"), std::string::npos);
    EXPECT_TRUE(IsWindow(form.window));
    SendMessageW(form.window, WM_COMMAND, 43, 0);
    EXPECT_EQ(handled, 1) << "the form still handles its messages";
}

} // namespace
} // namespace plaxet
