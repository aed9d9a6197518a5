// The main window as built: its controls (id, kind, text, place, size,
// creation order), their styles and font, the tab order, the menus and the
// state the initialisation leaves.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/file.h"
#include "win/fonts.h"
#include "runtime/wide.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"

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
        {121, "Button", "Invoice", 470, 40, 60, 15},
        {122, "Button", "Receipt", 470, 60, 60, 15},
        {123, "Button", "Estimate", 470, 80, 60, 15},
        {-1, "Button", "Form", 460, 20, 90, 85},
        {-1, "Static", "Date:", 450, 120, 30, 15},
        {125, "Edit", "", 480, 120, 70, 20},
        {111, "Edit", "", 87, 30, 335, 20},
        {112, "Edit", "", 87, 60, 335, 20},
        {113, "Edit", "", 87, 90, 335, 20},
        {114, "Edit", "", 87, 120, 335, 20},
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
        {411, "Button", "RTF file", 290, 570, 70, 12},
        {412, "Button", "HTM file", 290, 590, 70, 12},
        {416, "Button", "PDF file", 290, 610, 70, 12},
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

TEST_F(MainWindowTest, ControlsHaveTheirIdsTextsPlacesAndCreationOrder) {
    open();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 575);
    EXPECT_EQ(client.bottom, 640);
    EXPECT_EQ(title(), "Plaxet");
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";

    const std::vector<Expected> expected = expectedControls();
    ASSERT_EQ(expected.size(), 86u) << "18 above the grid, 36 cells, 12 rules, 20 below";
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
        EXPECT_EQ(r.left, want.x);
        EXPECT_EQ(r.top, want.y);
        EXPECT_EQ(r.right - r.left, want.width);
        EXPECT_EQ(r.bottom - r.top, want.height);
        const bool line = want.width == 1 || want.height == 1;
        if (want.className != "ScrollBar" && !line) { // scroll bars and lines keep no font
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)),
                      fontHandle(kDefaultFormFont));
        }
        ++index;
    }
    EXPECT_EQ(index, expected.size());
}

// The size of a text in a control's own font: one line, or broken into
// lines at the control's width when `wrapped`.
SIZE textSize(HWND control, const std::string& text, bool wrapped) {
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT box{0, 0, client.right, 0};
    const std::wstring wide = toWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
              DT_CALCRECT | DT_NOPREFIX | (wrapped ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {box.right - box.left, box.bottom - box.top};
}

// Every caption and the form date show whole in the window's font: nothing
// cut short at the control's edge or wrapped below it. A wider substitute
// font, where the system lacks the one asked for, fails here.
TEST_F(MainWindowTest, EveryCaptionAndTheDateShowWhole) {
    open(writeSampleForm("whole.plx"));
    const int checkMark = GetSystemMetrics(SM_CXMENUCHECK);
    int checked = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string caption = windowText(child);
        const std::string kind = classOf(child);
        RECT client{};
        GetClientRect(child, &client);
        if (caption.empty() || client.right == 0) continue; // the hidden Dummy button
        SCOPED_TRACE(kind + " \"" + caption + "\"");
        const LONG style = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (kind == "Static") {
            const SIZE size = textSize(child, caption, true);
            EXPECT_LE(size.cx, client.right);
            EXPECT_LE(size.cy, client.bottom) << "wraps below the label";
        } else if (kind == "Button" && (style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON)) {
            EXPECT_LE(textSize(child, caption, false).cx + checkMark + 2, client.right);
        } else if (kind == "Button" && style == BS_GROUPBOX) {
            EXPECT_LE(textSize(child, caption, false).cx + 16, client.right);
        } else if (kind == "Button" || kind == "Edit") {
            const DWORD margins = static_cast<DWORD>(SendMessageW(child, EM_GETMARGINS, 0, 0));
            const int inner = kind == "Edit" ? client.right - LOWORD(margins) - HIWORD(margins) : client.right;
            EXPECT_LE(textSize(child, caption, false).cx, inner);
        } else {
            continue;
        }
        ++checked;
    }
    EXPECT_GE(checked, 20) << "the captions, buttons and filled boxes were measured";
    EXPECT_EQ(text(kDateBox), "03/15/2024");
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
    std::vector<int> expected = {kAddressBox, kCityBox, kPhoneBox};
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
    EXPECT_EQ(editor.outputKind, kOutputRtf);
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_FALSE(IsWindowEnabled(control(kCopyFileButton)));
    for (int id : {kInvoiceButton, kReceiptButton, kEstimateButton})
        EXPECT_FALSE(IsDlgButtonChecked(window, id)) << "no form type until one is chosen";
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(editor.topItem, 1);
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_TRUE(responder.asked().empty());
}

} // namespace
} // namespace plaxet::testing
