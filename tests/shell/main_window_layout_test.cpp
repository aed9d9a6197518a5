// The main window as built: its controls (id, kind, text, place, size,
// creation order) at the display's scale, their styles and font, the tab
// order, the menus and the state the initialisation leaves; a move to a
// monitor of another DPI and back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "runtime/file.h"
#include "runtime/wide.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"
#include "win/dpi.h"
#include "win/fonts.h"
#include "win/forms.h"

namespace plaxet::testing {
namespace {

struct Expected {
    int id; // -1 for controls nobody addresses
    std::string className;
    std::string text;
    int x, y, width, height;
};

// The window's controls in creation order, written out from the layout's
// description rather than from the program's own table.
std::vector<Expected> expectedControls() {
    std::vector<Expected> controls = {
        {101, "Static", "Name:", 15, 30, 75, 16},
        {102, "Static", "Address:", 15, 60, 75, 16},
        {103, "Static", "City, State Zip:", 15, 90, 75, 16},
        {104, "Static", "Phone:", 15, 120, 75, 16},
        {110, "Button", "Addressee:", 10, 10, 425, 140},
        {121, "Button", "Invoice", 462, 25, 70, 15},
        {122, "Button", "Receipt", 462, 42, 70, 15},
        {123, "Button", "Estimate", 462, 59, 70, 15},
        {-1, "Button", "Form", 450, 8, 100, 74},
        {-1, "Static", "Date:", 450, 92, 32, 15},
        {125, "Edit", "", 482, 89, 70, 20},
        {111, "Edit", "", 87, 30, 335, 20},
        {112, "Edit", "", 87, 60, 335, 20},
        {113, "Edit", "", 87, 90, 335, 20},
        {114, "Edit", "", 87, 120, 245, 20},
        {115, "Button", "Details...", 342, 119, 80, 22},
        {-1, "Static", "No.:", 450, 116, 32, 15},
        {126, "Edit", "", 482, 113, 70, 20},
        {-1, "Static", "Due:", 450, 140, 32, 15},
        {127, "Edit", "", 482, 137, 70, 20},
        {200, "Edit", "Date", 10, 170, 77, 20},
        {250, "Edit", "Description", 87, 170, 365, 20},
        {300, "Edit", "Cost", 452, 170, 87, 20},
    };
    for (int r = 1; r <= 12; ++r) {
        controls.push_back({200 + r, "Edit", "", 14, 171 + 20 * r, 72, 18});
        controls.push_back({250 + r, "Edit", "", 91, 171 + 20 * r, 358, 18});
        controls.push_back({300 + r, "Edit", "", 454, 171 + 20 * r, 80, 18});
    }
    for (int r = 1; r <= 12; ++r) controls.push_back({-1, "Static", "", 10, 190 + 20 * r, 528, 1});
    const std::vector<Expected> tail = {
        {-1, "Static", "", 10, 430, 528, 1},
        {-1, "Static", "", 452, 450, 86, 1},
        {-1, "Static", "", 10, 190, 1, 240},
        {-1, "Static", "", 87, 190, 1, 240},
        {-1, "Static", "", 452, 190, 1, 260},
        {-1, "Static", "", 538, 190, 1, 260},
        {350, "Button", "Dummy", 0, 0, 0, 0},
        {401, "Static", "Amount due:", 360, 432, 88, 20},
        {402, "Edit", "", 454, 431, 80, 18},
        {403, "ScrollBar", "", 539, 170, 20, 260},
        {-1, "Static", "Notes and comments:", 10, 450, 120, 16},
        {400, "Edit", "", 10, 470, 540, 75},
        {410, "Button", "&Sender", 20, 560, 85, 35},
        {413, "Button", "Create Files", 105, 560, 85, 35},
        {411, "Button", "RTF file", 290, 565, 70, 12},
        {412, "Button", "HTM file", 290, 580, 70, 12},
        {416, "Button", "PDF file", 290, 595, 70, 12},
        {417, "Button", "XML file", 290, 610, 70, 12},
        {-1, "Button", "File type", 275, 550, 90, 80},
        {414, "Button", "Show File", 370, 560, 85, 35},
        {415, "Button", "Copy File", 455, 560, 85, 35},
    };
    controls.insert(controls.end(), tail.begin(), tail.end());
    return controls;
}

std::string classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return fromWide(name);
}

std::string menuText(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return fromWide(text);
}

// Places and sizes of the description are pixels at 96 DPI; at another
// display scale each is scaled on its own.
TEST_F(MainWindowTest, ControlsHaveTheirIdsTextsPlacesAndCreationOrderAtEveryScale) {
    open();
    const int dpi = requestedDpi();
    ASSERT_EQ(windowDpi(window), dpi) << "the display runs at the DPI asked for";
    ASSERT_EQ(FormDpi(window), dpi);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_NEAR(client.right, 575 * dpi / 96.0, 2);
    EXPECT_NEAR(client.bottom, 640 * dpi / 96.0, 2);
    EXPECT_EQ(title(), "Plaxet");
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    // The program's icon at the sizes of this scale, not one stretched.
    for (auto [which, size] : {std::pair{ICON_SMALL, 16}, std::pair{ICON_BIG, 32}}) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
        ICONINFO info{};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info));
        BITMAP image{};
        GetObjectW(info.hbmColor, sizeof(image), &image);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(image.bmWidth, atDpi(size, dpi));
    }

    const std::vector<Expected> expected = expectedControls();
    ASSERT_EQ(expected.size(), 92u) << "23 above the grid, 36 cells, 12 rules, 21 below";
    size_t index = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ASSERT_LT(index, expected.size()) << "more controls than expected";
        const Expected& want = expected[index];
        SCOPED_TRACE("control #" + std::to_string(index + 1) + " id " + std::to_string(want.id));
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        EXPECT_EQ(classOf(child), want.className);
        EXPECT_EQ(windowText(child), want.text);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, atDpi(want.x, dpi));
        EXPECT_EQ(r.top, atDpi(want.y, dpi));
        EXPECT_EQ(r.right - r.left, atDpi(want.width, dpi));
        EXPECT_EQ(r.bottom - r.top, atDpi(want.height, dpi));
        const bool line = want.width == 1 || want.height == 1;
        if (want.className != "ScrollBar" && !line) { // scroll bars and lines keep no font
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)),
                      fontHandle(kDefaultFormFont, dpi));
        }
        ++index;
    }
    EXPECT_EQ(index, expected.size());

    // Above the grid, as placed at this scale: the boxes and buttons overlap
    // neither one another nor the labels of the date, number and due date;
    // the Form group holds the three form-type buttons and nothing else.
    RECT formGroup{};
    const std::vector<PlacedControl> head =
        expectPlacedApart(window, [&](HWND child, const RECT& r) {
            if (r.top >= atDpi(170, dpi) || r.right == r.left) return false;
            const std::string caption = windowText(child);
            if (isGroupBox(child)) {
                if (caption == "Form") formGroup = r;
                return false;
            }
            return classOf(child) != "Static" || caption == "Date:" || caption == "No.:" ||
                   caption == "Due:";
        });
    ASSERT_EQ(head.size(), 14u) << "3 labels, 3 form-type buttons, 7 boxes, Details";
    for (const PlacedControl& placed : head) {
        RECT inside{};
        const int id = GetDlgCtrlID(placed.control);
        const bool formType = id >= kInvoiceButton && id <= kEstimateButton;
        EXPECT_EQ(IntersectRect(&inside, &placed.place, &formGroup) != FALSE, formType) << id;
    }
}

// The size of a text in a control's own font: one line, or broken into
// lines at the control's width when `wrapped`.
SIZE textSize(HWND control, const std::string& text, bool wrapped) {
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT box{0, 0, client.right, 0};
    const std::wstring wide = toWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
              DT_CALCRECT | DT_NOPREFIX | (wrapped ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {box.right - box.left, box.bottom - box.top};
}

// Checks that every caption of the form's controls shows whole in the
// control's own font: nothing cut short at the control's edge or wrapped
// below it, and the text of a one-line box not cut at its bottom. Returns
// how many controls were measured.
int expectCaptionsShowWhole(HWND form) {
    const int checkMark = GetSystemMetrics(SM_CXMENUCHECK);
    int checked = 0;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string caption = windowText(child);
        const std::string kind = classOf(child);
        RECT client{};
        GetClientRect(child, &client);
        if (caption.empty() || client.right == 0) continue; // the hidden Dummy button
        SCOPED_TRACE(kind + " \"" + caption + "\"");
        const LONG style = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (kind == "Static") {
            // Line breaks at the end of a label show nothing.
            while (caption.size() >= 2 && caption.ends_with("\r\n"))
                caption.resize(caption.size() - 2);
            const SIZE size = textSize(child, caption, true);
            EXPECT_LE(size.cx, client.right);
            EXPECT_LE(size.cy, client.bottom) << "wraps below the label";
        } else if (kind == "Button" && (style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON)) {
            EXPECT_LE(textSize(child, caption, false).cx + checkMark + 2, client.right);
        } else if (kind == "Button" && style == BS_GROUPBOX) {
            EXPECT_LE(textSize(child, caption, false).cx + 16, client.right);
        } else if (kind == "Button" || kind == "Edit") {
            const DWORD margins = static_cast<DWORD>(SendMessageW(child, EM_GETMARGINS, 0, 0));
            const int inner =
                kind == "Edit" ? client.right - LOWORD(margins) - HIWORD(margins) : client.right;
            const SIZE size = textSize(child, caption, false);
            EXPECT_LE(size.cx, inner);
            if (!(GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE)) {
                EXPECT_LE(size.cy, client.bottom) << "cut at the bottom";
            }
        } else {
            continue;
        }
        ++checked;
    }
    return checked;
}

// Every caption and the form date show whole in the window's font, at every
// display scale, and so do the captions of the sender dialog, the business
// details, the Buyer Details dialog and the About box. A wider substitute
// font, where the system lacks the one asked for, fails here.
TEST_F(MainWindowTest, EveryCaptionAndTheDateShowWhole) {
    form.senderLines = {"Corner Shop", "Main Street 1", "", "", "", ""};
    open(writeSampleForm("whole.plx"));
    EXPECT_GE(expectCaptionsShowWhole(window), 20)
        << "the captions, buttons and filled boxes were measured";
    EXPECT_EQ(text(kDateBox), "03/15/2024");

    // A dialog's captions, measured as it appears, before it is closed.
    const auto checkedIn = [](const char* title, auto open, auto close) {
        int checked = 0;
        {
            WhenWindowAppears watch(title, [&](HWND dialog) {
                checked = expectCaptionsShowWhole(dialog);
                close(dialog);
            });
            open();
            EXPECT_TRUE(watch.acted());
        }
        return checked;
    };
    EXPECT_EQ(checkedIn(
                  "Define Sender", [&] { click(kSenderButton); },
                  [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              5)
        << "the label, two filled lines, Business Details and Ok";
    EXPECT_EQ(checkedIn(
                  "Business Details", [&] { command(kBusinessDetailsCommand); },
                  [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              30)
        << "21 labels, five groups, two option buttons and two buttons";
    EXPECT_EQ(checkedIn(
                  "About Tallyworks", [&] { command(kAboutCommand); },
                  [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); }),
              4)
        << "the product, the credit and the two links";
    EXPECT_EQ(checkedIn(
                  "Buyer Details", [&] { click(kBuyerDetailsButton); },
                  [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              10)
        << "eight labels, Ok and Cancel";
}

struct ControlView {
    RECT place{};
    std::string text;
    LONG fontHeight = 0;
};

std::vector<ControlView> viewOf(HWND window) {
    std::vector<ControlView> views;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlView view;
        GetWindowRect(child, &view.place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&view.place), 2);
        view.text = windowText(child);
        if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0))) {
            LOGFONTW logical{};
            GetObjectW(font, sizeof(logical), &logical);
            view.fontHeight = logical.lfHeight;
        }
        views.push_back(view);
    }
    return views;
}

void moveToDpi(HWND window, int dpi, const RECT& suggested) {
    RECT rect = suggested;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rect));
}

// Moved to a monitor of half as many DPI again, the window lays itself out
// for it with fonts made for it; moved back, every control stands where it stood, with its
// text, and the focus, the caret and the grid's scroll position are kept.
TEST_F(MainWindowTest, DpiChangeToALargerScaleAndBackKeepsPlacesTextsAndFocus) {
    open(writeSampleForm("moving.plx", kReceipt, 20));
    SendMessageW(window, WM_VSCROLL, SB_LINEDOWN,
                 reinterpret_cast<LPARAM>(control(kItemScrollBar)));
    SendMessageW(window, WM_VSCROLL, SB_LINEDOWN,
                 reinterpret_cast<LPARAM>(control(kItemScrollBar)));
    ASSERT_EQ(main->grid.topItem, 3);
    focus(kDescriptionColumn + 2);
    SendMessageW(control(kDescriptionColumn + 2), EM_SETSEL, 1, 3);
    editor.changed = false;

    const int dpi = FormDpi(window);
    const std::vector<ControlView> before = viewOf(window);
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT client{};
    GetClientRect(window, &client);
    auto selection = [this] {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return std::make_pair(start, end);
    };
    auto scrollPosition = [this] {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_POS | SIF_PAGE | SIF_RANGE;
        GetScrollInfo(control(kItemScrollBar), SB_CTL, &info);
        return std::make_tuple(info.nPos, info.nPage, info.nMax);
    };
    const auto scrolled = scrollPosition();

    const int larger = dpi * 3 / 2;
    moveToDpi(window, larger,
              {frame.left, frame.top, frame.left + 3 * (frame.right - frame.left) / 2,
               frame.top + 3 * (frame.bottom - frame.top) / 2});
    EXPECT_EQ(FormDpi(window), larger);
    RECT largerClient{};
    GetClientRect(window, &largerClient);
    EXPECT_NEAR(largerClient.right, 575 * larger / 96.0, 2);
    EXPECT_NEAR(largerClient.bottom, 640 * larger / 96.0, 2);
    const std::vector<ControlView> moved = viewOf(window);
    const std::vector<Expected> layout = expectedControls();
    ASSERT_EQ(moved.size(), layout.size());
    for (size_t k = 0; k < moved.size(); ++k) {
        SCOPED_TRACE("control #" + std::to_string(k + 1));
        EXPECT_EQ(moved[k].place.left, atDpi(layout[k].x, larger));
        EXPECT_EQ(moved[k].place.top, atDpi(layout[k].y, larger));
        EXPECT_EQ(moved[k].place.right - moved[k].place.left, atDpi(layout[k].width, larger));
        EXPECT_EQ(moved[k].place.bottom - moved[k].place.top, atDpi(layout[k].height, larger));
        EXPECT_EQ(moved[k].text, before[k].text);
        if (before[k].fontHeight != 0) {
            EXPECT_EQ(moved[k].fontHeight, fontPixelHeight(8, larger));
        }
    }
    EXPECT_EQ(GetFocus(), control(kDescriptionColumn + 2));

    moveToDpi(window, dpi, frame);
    RECT backFrame{};
    GetWindowRect(window, &backFrame);
    EXPECT_TRUE(EqualRect(&backFrame, &frame));
    const std::vector<ControlView> back = viewOf(window);
    ASSERT_EQ(back.size(), before.size());
    for (size_t k = 0; k < back.size(); ++k) {
        SCOPED_TRACE("control #" + std::to_string(k + 1) + " \"" + before[k].text + "\"");
        EXPECT_TRUE(EqualRect(&back[k].place, &before[k].place));
        EXPECT_EQ(back[k].text, before[k].text);
        EXPECT_EQ(back[k].fontHeight, before[k].fontHeight);
    }
    EXPECT_EQ(GetFocus(), control(kDescriptionColumn + 2));
    EXPECT_EQ(selection(), std::make_pair(DWORD{1}, DWORD{3}));
    EXPECT_EQ(scrollPosition(), scrolled);
    EXPECT_EQ(main->grid.topItem, 3);
    EXPECT_FALSE(editor.changed) << "laying out again is no edit";
}

// The icons hold an image for every size Windows asks for between 100 % and
// 250 % display scale (a size of 256 is written as 0 in the directory).
TEST(ProgramResources, IconsHoldEverySizeTheDisplayScalesAskFor) {
    for (LPCWSTR name :
         {static_cast<LPCWSTR>(MAKEINTRESOURCEW(1)), static_cast<LPCWSTR>(L"GenHelp")}) {
        HRSRC found =
            FindResourceW(GetModuleHandleW(nullptr), name, MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
        ASSERT_NE(found, nullptr);
        const auto* directory =
            static_cast<const BYTE*>(LockResource(LoadResource(GetModuleHandleW(nullptr), found)));
        ASSERT_NE(directory, nullptr);
        const int count = directory[4] | directory[5] << 8;
        std::vector<int> sizes;
        for (int k = 0; k < count; ++k) { // 14 bytes each after the 6-byte header
            const int width = directory[6 + 14 * k];
            sizes.push_back(width == 0 ? 256 : width);
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    }
}

TEST_F(MainWindowTest, ControlStylesMatchTheirRoles) {
    open();
    auto exStyleOf = [this](int id) {
        return static_cast<DWORD>(GetWindowLongW(control(id), GWL_EXSTYLE));
    };
    // The date box scrolls; the addressee boxes take only what fits.
    EXPECT_TRUE(styleOf(kDateBox) & ES_AUTOHSCROLL);
    EXPECT_TRUE(exStyleOf(kDateBox) & WS_EX_CLIENTEDGE);
    for (int id : {kNameBox, kAddressBox, kCityBox, kPhoneBox}) {
        EXPECT_FALSE(styleOf(id) & ES_AUTOHSCROLL);
        EXPECT_TRUE(exStyleOf(id) & WS_EX_CLIENTEDGE);
    }
    for (int id : {kDateColumn, kDescriptionColumn, kCostColumn}) {
        EXPECT_TRUE(styleOf(id) & ES_READONLY);
        EXPECT_TRUE(styleOf(id) & ES_CENTER);
        // (The edit control draws a WS_BORDER itself and drops the style bit.)
        EXPECT_FALSE(GetWindowLongW(control(id), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_FALSE(styleOf(id) & WS_TABSTOP);
    }
    for (int r = 1; r <= 12; ++r) {
        EXPECT_FALSE(styleOf(kDateColumn + r) & (WS_BORDER | ES_AUTOHSCROLL));
        EXPECT_FALSE(exStyleOf(kDescriptionColumn + r) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(styleOf(kCostColumn + r) & ES_RIGHT);
    }
    EXPECT_TRUE(styleOf(kNotesBox) & ES_MULTILINE);
    EXPECT_TRUE(styleOf(kNotesBox) & ES_WANTRETURN);
    EXPECT_FALSE(styleOf(kNotesBox) & (ES_AUTOHSCROLL | ES_AUTOVSCROLL));
    EXPECT_TRUE(styleOf(kAmountBox) & ES_READONLY);
    EXPECT_FALSE(styleOf(kAmountBox) & ES_RIGHT) << "left-aligned until a type is chosen";
    EXPECT_TRUE(styleOf(kAmountLabel) & SS_RIGHT);
    EXPECT_TRUE(styleOf(kItemScrollBar) & SBS_VERT);
    EXPECT_TRUE(styleOf(kInvoiceButton) & WS_GROUP);
    EXPECT_TRUE(styleOf(kRtfButton) & WS_GROUP);
    EXPECT_EQ(styleOf(kInvoiceButton) & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_TRUE(styleOf(kDummyButton) & BS_NOTIFY);
    EXPECT_TRUE(IsWindowVisible(control(kDummyButton)));
}

TEST_F(MainWindowTest, TabOrderFollowsCreationOrder) {
    open();
    std::vector<int> expected = {kAddressBox,         kCityBox,   kPhoneBox,
                                 kBuyerDetailsButton, kNumberBox, kDueDateBox};
    for (int r = 1; r <= 12; ++r)
        expected.insert(expected.end(), {kDateColumn + r, kDescriptionColumn + r, kCostColumn + r});
    // Show File and Copy File start disabled, so Tab passes them by; of an
    // option group with a checked button, Tab visits only that one.
    expected.insert(expected.end(),
                    {kDummyButton, kNotesBox, kSenderButton, kCreateFilesButton, kRtfButton,
                     kInvoiceButton, kReceiptButton, kEstimateButton, kDateBox, kNameBox});
    std::vector<int> forward;
    HWND at = control(kNameBox);
    for (size_t step = 0; step < expected.size(); ++step) {
        at = GetNextDlgTabItem(window, at, FALSE);
        forward.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(forward, expected);

    // Shift+Tab from the Name box: the date box, then the form-type buttons.
    HWND back = GetNextDlgTabItem(window, control(kNameBox), TRUE);
    EXPECT_EQ(GetDlgCtrlID(back), kDateBox);
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(window, back, TRUE)), kEstimateButton);
    // Shift+Tab from the notes box passes through the invisible button.
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(window, control(kNotesBox), TRUE)), kDummyButton);

    // Tab out of row 12's cost cell lands on the invisible button, which
    // hands the focus on to row 12's date cell.
    focus(kCostColumn + 12);
    pressKey(VK_TAB);
    EXPECT_TRUE(pumpUntil(window, [this] { return GetFocus() == control(kDateColumn + 12); }));
}

TEST_F(MainWindowTest, MenusCarryTheirTextsAndCommands) {
    open();
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(menuText(bar, 0), "&File");
    EXPECT_EQ(menuText(bar, 1), "&Edit");
    EXPECT_EQ(menuText(bar, 2), "&Help");

    struct Item {
        std::string text;
        UINT id;
    };
    auto itemsOf = [](HMENU menu) {
        std::vector<Item> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_ID;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            items.push_back({(info.fType & MFT_SEPARATOR) ? "-" : menuText(menu, i), info.wID});
        }
        return items;
    };
    auto expectItems = [&itemsOf](HMENU menu, const std::vector<Item>& expected) {
        const std::vector<Item> items = itemsOf(menu);
        ASSERT_EQ(items.size(), expected.size());
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].text, expected[i].text);
            if (expected[i].text != "-") {
                EXPECT_EQ(items[i].id, expected[i].id);
            }
        }
    };
    expectItems(GetSubMenu(bar, 0), {{"&New", 501},
                                     {"&Open", 502},
                                     {"&Save", 503},
                                     {"Save&As", 504},
                                     {"-", 0},
                                     {"&Create Files", 505},
                                     {"-", 0},
                                     {"&Business Details...", 507},
                                     {"-", 0},
                                     {"E&xit", 506}});
    expectItems(GetSubMenu(bar, 1),
                {{"&Clear Item", 511}, {"&Insert Item", 512}, {"&Delete Item", 513}});
    expectItems(GetSubMenu(bar, 2), {{"&Contents", 521}, {"&About", 522}});
    expectItems(main->rowPopup.get(),
                {{"Clear item", 511}, {"Insert item", 512}, {"Delete item", 513}});
}

TEST_F(MainWindowTest, InitialisationLoadsTheSenderAndSetsTheStartingState) {
    ASSERT_TRUE(
        replaceFileContents(folder.file("quillet.ini"), "Corner Shop\r\nMain Street 1\r\n").ok);
    open();
    EXPECT_EQ(form.senderLines[0], "Corner Shop");
    EXPECT_EQ(form.senderLines[1], "Main Street 1");
    EXPECT_EQ(form.senderLines[2], "");
    EXPECT_EQ(GetFocus(), control(kNameBox));
    EXPECT_TRUE(IsDlgButtonChecked(window, kRtfButton));
    EXPECT_FALSE(IsDlgButtonChecked(window, kHtmButton));
    EXPECT_EQ(main->outputKind, DocumentKind::Rtf);
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_FALSE(IsWindowEnabled(control(kCopyFileButton)));
    for (int id : {kInvoiceButton, kReceiptButton, kEstimateButton})
        EXPECT_FALSE(IsDlgButtonChecked(window, id)) << "no form type until one is chosen";
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(main->grid.topItem, 1);
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_TRUE(responder.asked().empty());
}

} // namespace
} // namespace plaxet::testing
