// The help viewer on a topic file written by the test: its outline, the
// topic shown for each selection (text, wrap mode, caption and status
// line), Find, Next and Prev across topics with their messages, the keys,
// the splitter, and the messages for a missing or empty file.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <string>
#include <vector>

#include "form/data_folder.h"
#include "help/help_source.h"
#include "runtime/file.h"
#include "runtime/paths.h"
#include "win/controls.h"
#include "win/fonts.h"
#include "win/forms.h"
#include "win/tree_view.h"
#include "runtime/wide.h"
#include "shell/scripted_responder.h"
#include "shell/window_driver.h"
#include "temp_folder.h"
#include "ui/help_search_dialog.h"
#include "ui/help_window.h"

namespace plaxet::testing {
namespace {

constexpr const char* kViewerTitle = "Application Help";

HelpTopic topic(std::string title, std::string body, int32_t level, int32_t wrapMode,
                int32_t tabWidth = 8) {
    return HelpTopic{std::move(title), std::move(body), level, tabWidth, wrapMode};
}

// Topic 1 stands under no top-level topic and has no text, so the viewer
// starts on topic 2; topics 3 and 4 are sub-topics (levels 1 and -2) of 2.
HelpTopics sampleTopics() {
    return {
        topic("Before", "", 1, kWrapWords),
        topic("Forms", "Fill in a form.\r\nThe FORM has items.", 0, kWrapWords),
        topic("Items", "An item has a date,\tcost.\r\nItems Form the list.", 1, kWrapNone, 4),
        topic("Totals", "Totals add up the items.", -2, kWrapNone),
        topic("Printing", "Print a topic.", 0, kWrapWords),
        topic("", "", 0, kWrapWords),
    };
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

// The text and background colours the window gives the control.
std::pair<COLORREF, COLORREF> coloursOf(HWND window, HWND control) {
    HDC dc = GetDC(window);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(1, 2, 3));
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const std::pair<COLORREF, COLORREF> colours{GetTextColor(dc), GetBkColor(dc)};
    ReleaseDC(window, dc);
    return colours;
}

struct OutlineEntry {
    std::string label;
    int level = 0;
    bool operator==(const OutlineEntry&) const = default;
};

void PrintTo(const OutlineEntry& entry, std::ostream* out) {
    *out << "{\"" << entry.label << "\", " << entry.level << "}";
}

// While alive, notes the popup menu that opens (its items' texts) and closes it.
// A menu that is still open at the deadline is closed unread, so a watch that
// misses its menu fails the test instead of leaving the menu's loop running.
class MenuWatch {
  public:
    MenuWatch() {
        current = this;
        deadline_ = GetTickCount64() + 5000;
        timer_ = SetTimer(nullptr, 0, 20, tick);
    }
    ~MenuWatch() {
        KillTimer(nullptr, timer_);
        current = nullptr;
    }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    HMENU opened = nullptr;
    std::vector<std::string> items;

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (current && GetTickCount64() > current->deadline_) EndMenu();
        if (!current || current->opened || !popup || !IsWindowVisible(popup)) return;
        current->opened = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(current->opened); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(current->opened, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            current->items.push_back(fromWide(text));
        }
        EndMenu();
    }
    static inline MenuWatch* current = nullptr;
    UINT_PTR timer_ = 0;
    ULONGLONG deadline_ = 0;
};

class HelpWindowTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }

    std::string writeHelpFile(const HelpTopics& topics) {
        const std::string path = folder.file("plaxet.ahp");
        const HelpFileBytes file = encodeHelpFile(topics);
        EXPECT_TRUE(file.error.empty()) << file.error;
        EXPECT_TRUE(replaceFileContents(path, file.bytes).ok);
        return path;
    }

    void open(const HelpTopics& topics = sampleTopics()) {
        window = openHelpWindow(state, writeHelpFile(topics), "", nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(pumpUntil(window, [this] { return IsWindowVisible(window) != FALSE; }));
    }

    HWND tree() const { return GetDlgItem(window, kHelpOutline); }
    HWND pane() const { return GetDlgItem(window, kHelpPane); }
    std::string paneText() const { return ControlGetText(window, kHelpPane); }
    std::string caption() const { return ControlGetText(window, kHelpCaption); }

    std::string statusPart(int part) const {
        wchar_t text[512] = {};
        SendMessageW(GetDlgItem(window, kHelpStatusBar), SB_GETTEXTW, part - 1,
                     reinterpret_cast<LPARAM>(text));
        return fromWide(text);
    }

    std::vector<OutlineEntry> outline() const {
        std::vector<OutlineEntry> entries;
        for (HTREEITEM top = TreeView_GetRoot(tree()); top;
             top = TreeView_GetNextSibling(tree(), top)) {
            entries.push_back({TreeItemText(window, kHelpOutline, top), 0});
            for (HTREEITEM sub = TreeView_GetChild(tree(), top); sub;
                 sub = TreeView_GetNextSibling(tree(), sub))
                entries.push_back({TreeItemText(window, kHelpOutline, sub), 1});
        }
        return entries;
    }

    std::string selectedLabel() const {
        return TreeItemText(window, kHelpOutline, TreeView_GetSelection(tree()));
    }
    bool isBold(int topicNumber) const {
        HTREEITEM entry = state.outlineEntries.at(static_cast<size_t>(topicNumber - 1));
        return (TreeView_GetItemState(tree(), entry, TVIS_BOLD) & TVIS_BOLD) != 0;
    }

    void selectTopic(int topicNumber) {
        TreeView_SelectItem(tree(), state.outlineEntries.at(static_cast<size_t>(topicNumber - 1)));
    }

    // The pane's selection as the text it covers, with its start.
    std::pair<DWORD, std::string> paneSelection() const {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(pane(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, paneText().substr(start, end - start)};
    }

    void command(int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Runs Find; the dialog gets `text` and is closed with Ok (with "Search
    // from top" as given) or with Esc.
    void find(const std::string& text, bool fromTop = true, bool byEscape = false) {
        WhenWindowAppears watch("Text to Find", [&](HWND dialog) {
            HWND box = GetDlgItem(dialog, kSearchTextBox);
            SetWindowTextW(box, toWide(text).c_str());
            SendMessageW(GetDlgItem(dialog, kSearchFromTopBox), BM_SETCHECK,
                         fromTop ? BST_CHECKED : BST_UNCHECKED, 0);
            if (byEscape)
                PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
            else
                PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
        command(kHelpFindCommand);
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
    }

    TempFolder folder;
    ScriptedResponder responder;
    HelpViewerState state;
    HWND window = nullptr;
};

TEST_F(HelpWindowTest, OutlineHasTwoLevelsAndStartsOnTheFirstTopicWithText) {
    open();
    EXPECT_EQ(windowText(window), kViewerTitle);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    const std::vector<OutlineEntry> expected = {
        {"Before", 0}, {"Forms", 0}, {"Items", 1}, {"Totals", 1}, {"Printing", 0}, {"", 0},
    };
    EXPECT_EQ(outline(), expected);
    HTREEITEM forms = state.outlineEntries.at(1);
    EXPECT_TRUE(TreeView_GetItemState(tree(), forms, TVIS_EXPANDED) & TVIS_EXPANDED);

    EXPECT_EQ(selectedLabel(), "Forms");
    EXPECT_EQ(state.shownTopic, 2);
    EXPECT_EQ(paneText(), "Fill in a form.\r\nThe FORM has items.");
    EXPECT_EQ(caption(), "     Forms");
    EXPECT_EQ(statusPart(1), "  Right click mouse (or F1) for menu options");
    EXPECT_EQ(statusPart(2), "Forms");
    EXPECT_TRUE(responder.asked().empty());

    HWND captionLine = GetDlgItem(window, kHelpCaption);
    EXPECT_EQ(fromWide(fontOf(captionLine).lfFaceName), "MS Sans Serif");
    EXPECT_EQ(fromWide(fontOf(pane()).lfFaceName), "MS Sans Serif");
    EXPECT_EQ(fromWide(fontOf(tree()).lfFaceName), "MS Sans Serif");
    EXPECT_GT(-fontOf(captionLine).lfHeight, -fontOf(pane()).lfHeight) << "12 against 10 points";
    EXPECT_EQ(fontOf(tree()).lfHeight, fontOf(pane()).lfHeight);
    EXPECT_EQ(coloursOf(window, captionLine), std::make_pair(RGB(0, 0, 0), RGB(211, 211, 211)));
    EXPECT_EQ(coloursOf(window, pane()), std::make_pair(RGB(0, 0, 0), RGB(255, 250, 205)));
    EXPECT_EQ(LOWORD(SendMessageW(pane(), EM_GETMARGINS, 0, 0)), 12);
    EXPECT_EQ(HIWORD(SendMessageW(pane(), EM_GETMARGINS, 0, 0)), 12);

    // Every body empty: topic 1 is shown.
    DestroyWindow(window);
    open({topic("First", "", 0, kWrapWords), topic("Second", "", 0, kWrapWords)});
    EXPECT_EQ(selectedLabel(), "First");
    EXPECT_EQ(caption(), "     First");
}

TEST_F(HelpWindowTest, SelectingATopicShowsItsTextWrapModeCaptionAndPlace) {
    open();
    const LONG_PTR wrappedStyle = GetWindowLongPtrW(pane(), GWL_STYLE);
    EXPECT_FALSE(wrappedStyle & WS_HSCROLL);
    EXPECT_FALSE(wrappedStyle & ES_AUTOHSCROLL);
    EXPECT_TRUE(wrappedStyle & ES_READONLY);

    selectTopic(3);
    EXPECT_EQ(paneText(), "An item has a date,\tcost.\r\nItems Form the list.");
    EXPECT_EQ(caption(), "     Items");
    EXPECT_EQ(statusPart(2), "Forms : Items");
    HWND unwrapped = pane();
    const LONG_PTR unwrappedStyle = GetWindowLongPtrW(unwrapped, GWL_STYLE);
    EXPECT_TRUE(unwrappedStyle & WS_HSCROLL);
    EXPECT_TRUE(unwrappedStyle & ES_AUTOHSCROLL);
    EXPECT_TRUE(unwrappedStyle & ES_READONLY) << "the remade pane is still read-only";
    EXPECT_EQ(coloursOf(window, unwrapped), std::make_pair(RGB(0, 0, 0), RGB(255, 250, 205)));
    EXPECT_EQ(fromWide(fontOf(unwrapped).lfFaceName), "MS Sans Serif");
    EXPECT_EQ(LOWORD(SendMessageW(unwrapped, EM_GETMARGINS, 0, 0)), 12);

    selectTopic(4); // the same mode: the pane is not made again
    EXPECT_EQ(pane(), unwrapped);
    EXPECT_EQ(paneText(), "Totals add up the items.");
    EXPECT_EQ(statusPart(2), "Forms : Totals");

    selectTopic(5);
    EXPECT_FALSE(GetWindowLongPtrW(pane(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(paneText(), "Print a topic.");
    EXPECT_EQ(statusPart(2), "Printing");

    selectTopic(6); // empty title and body
    EXPECT_EQ(paneText(), "");
    EXPECT_EQ(caption(), "     ");

    // The remade pane keeps its place in the window and its context menu:
    // Tab from the caption's neighbour still reaches it.
    EXPECT_EQ(GetNextWindow(GetDlgItem(window, kHelpCaption), GW_HWNDNEXT), pane());
}

TEST_F(HelpWindowTest, FindNextAndPrevSelectTheTextAcrossTopics) {
    open();
    const std::string forms = sampleTopics()[1].body;
    const std::string items = sampleTopics()[2].body;

    find("  FoRm ");
    EXPECT_EQ(state.searchText, "form");
    EXPECT_EQ(selectedLabel(), "Forms");
    EXPECT_TRUE(isBold(2));
    EXPECT_EQ(paneSelection(), std::make_pair(DWORD(forms.find("form")), std::string("form")));

    pressKey(VK_F3); // Next, through the window's keys
    ASSERT_TRUE(pumpUntil(window, [&] { return paneSelection().second == "FORM"; }));
    EXPECT_EQ(paneSelection().first, forms.find("FORM"));

    command(kHelpNextCommand); // crosses into the sub-topic, which is unwrapped
    EXPECT_EQ(selectedLabel(), "Items");
    EXPECT_TRUE(isBold(3));
    EXPECT_FALSE(isBold(2));
    EXPECT_EQ(paneSelection(), std::make_pair(DWORD(items.find("Form")), std::string("Form")));
    EXPECT_EQ(state.lastMatchPos, static_cast<int32_t>(items.find("Form") + 1));
    EXPECT_TRUE(responder.asked().empty());

    command(kHelpNextCommand); // nothing further in any topic
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "No more found");
    EXPECT_EQ(responder.asked()[0].title, "form");
    EXPECT_EQ(responder.asked()[0].style,
              static_cast<unsigned>(MB_OK | MB_TASKMODAL | MB_SETFOREGROUND));
    EXPECT_EQ(selectedLabel(), "Items");
    EXPECT_EQ(paneSelection().second, "Form") << "the last match is selected again";

    command(kHelpPrevCommand); // back across the topic boundary to the last one before
    EXPECT_EQ(selectedLabel(), "Forms");
    EXPECT_EQ(paneSelection(), std::make_pair(DWORD(forms.find("FORM")), std::string("FORM")));
    command(kHelpPrevCommand);
    EXPECT_EQ(paneSelection(), std::make_pair(DWORD(forms.find("form")), std::string("form")));
    responder.forget();
    command(kHelpPrevCommand);
    EXPECT_EQ(responder.messages(), std::vector<std::string>{"No more found"});
    EXPECT_EQ(paneSelection().first, forms.find("form")) << "the last match again";
}

TEST_F(HelpWindowTest, FindStartsWhereAskedAndReportsNothingFound) {
    open();
    selectTopic(3);
    SendMessageW(pane(), EM_SETSEL, 30, 30); // the caret past the match in this topic

    find("form", /*fromTop=*/false);
    EXPECT_EQ(selectedLabel(), "Items") << "from the first byte of the shown topic";
    EXPECT_EQ(paneSelection().second, "Form");

    find("form", /*fromTop=*/true, /*byEscape=*/true); // Esc keeps the text, not "from top"
    EXPECT_EQ(selectedLabel(), "Items");
    EXPECT_EQ(paneSelection().second, "Form");

    find("form", /*fromTop=*/true);
    EXPECT_EQ(selectedLabel(), "Forms");
    EXPECT_EQ(state.lastMatchPos, 0) << "Find leaves the last match alone";
    EXPECT_TRUE(responder.asked().empty());

    selectTopic(4);
    find("zebra");
    EXPECT_EQ(responder.messages(), std::vector<std::string>{"None found"});
    EXPECT_EQ(responder.asked()[0].title, "zebra");
    EXPECT_EQ(selectedLabel(), "Before") << "the topic searched from stays selected";
    EXPECT_TRUE(isBold(1));

    responder.forget();
    selectTopic(5);
    find("   ");
    EXPECT_TRUE(responder.asked().empty()) << "an empty text finds nothing and says nothing";
    EXPECT_EQ(state.searchText, "");
    EXPECT_EQ(selectedLabel(), "Before");
    EXPECT_EQ(GetFocus(), tree());
}

TEST_F(HelpWindowTest, SearchStateOutlivesTheWindowAndEscCloses) {
    open();
    find("items");
    command(kHelpNextCommand);
    const int32_t lastMatch = state.lastMatchPos;
    EXPECT_GT(lastMatch, 0);

    SetFocus(pane());
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(pumpUntil(window, [this] { return !IsWindow(window); }));
    EXPECT_EQ(state.window, nullptr);

    open();
    EXPECT_EQ(state.searchText, "items");
    EXPECT_EQ(state.lastMatchPos, lastMatch);
    command(kHelpNextCommand); // goes on from the start topic's selection
    EXPECT_EQ(paneSelection().second, "items");

    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(pumpUntil(window, [this] { return !IsWindow(window); }));
}

TEST_F(HelpWindowTest, OutlineCommandsAndPrintItem) {
    open();
    HTREEITEM forms = state.outlineEntries.at(1);
    command(kHelpCollapseAllCommand);
    EXPECT_FALSE(TreeView_GetItemState(tree(), forms, TVIS_EXPANDED) & TVIS_EXPANDED);
    command(kHelpExpandTopicCommand);
    EXPECT_TRUE(TreeView_GetItemState(tree(), forms, TVIS_EXPANDED) & TVIS_EXPANDED);
    command(kHelpCollapseTopicCommand);
    EXPECT_FALSE(TreeView_GetItemState(tree(), forms, TVIS_EXPANDED) & TVIS_EXPANDED);
    command(kHelpExpandAllCommand);
    EXPECT_TRUE(TreeView_GetItemState(tree(), forms, TVIS_EXPANDED) & TVIS_EXPANDED);

    // A hit under a collapsed parent opens it.
    command(kHelpCollapseAllCommand);
    find("list");
    EXPECT_EQ(selectedLabel(), "Items");
    EXPECT_TRUE(TreeView_GetItemState(tree(), forms, TVIS_EXPANDED) & TVIS_EXPANDED);

    // Print item asks for a printer; Cancel prints nothing and says nothing.
    responder.forget();
    command(kHelpPrintCommand);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].kind, RequestKind::ChoosePrinter);
    EXPECT_EQ(responder.asked()[0].owner, state.window)
        << "the dialog holds the viewer off while it is up";
    // A printer that cannot be opened is reported, not replaced by another.
    responder.forget();
    responder.answerPath("No Such Printer");
    command(kHelpPrintCommand);
    EXPECT_EQ(responder.messages(), std::vector<std::string>{"Document printing error"});
    responder.forget();
    selectTopic(6);
    command(kHelpPrintCommand);
    EXPECT_TRUE(responder.asked().empty()) << "a topic without text is not printed";
}

TEST_F(HelpWindowTest, DraggingTheSplitterMovesTheControlsAndResizingKeepsIt) {
    open();
    HWND splitter = GetDlgItem(window, kHelpSplitter);
    auto mouse = [&](HWND under, UINT message) {
        return SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                            MAKELPARAM(HTCLIENT, message));
    };
    EXPECT_NE(mouse(splitter, WM_MOUSEMOVE), 0);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    EXPECT_EQ(mouse(pane(), WM_MOUSEMOVE), 0) << "the pane keeps its own pointer";

    const ControlBounds outlineBefore = ControlGetBounds(window, kHelpOutline);
    const ControlBounds paneBefore = ControlGetBounds(window, kHelpPane);
    mouse(splitter, WM_LBUTTONDOWN);
    POINT pointer{ControlGetBounds(window, kHelpSplitter).x + 40, 100};
    ClientToScreen(window, &pointer);
    ASSERT_TRUE(SetCursorPos(pointer.x, pointer.y));
    mouse(pane(), WM_MOUSEMOVE);
    mouse(pane(), WM_LBUTTONUP);
    EXPECT_EQ(ControlGetBounds(window, kHelpOutline).width, outlineBefore.width + 40);
    EXPECT_EQ(ControlGetBounds(window, kHelpSplitter).x, 285);
    EXPECT_EQ(ControlGetBounds(window, kHelpPane).x, paneBefore.x + 40);
    EXPECT_EQ(ControlGetBounds(window, kHelpPane).width, paneBefore.width - 40);
    EXPECT_EQ(ControlGetBounds(window, kHelpCaption).x, paneBefore.x + 40);

    // The drag has ended: moving no longer moves anything.
    pointer.x += 20;
    SetCursorPos(pointer.x, pointer.y);
    mouse(pane(), WM_MOUSEMOVE);
    EXPECT_EQ(ControlGetBounds(window, kHelpSplitter).x, 285);

    FormSetClientSize(window, 800, 500);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(ControlGetBounds(window, kHelpOutline).width, outlineBefore.width + 40);
    EXPECT_EQ(ControlGetBounds(window, kHelpOutline).height, client.bottom - 40);
    EXPECT_EQ(ControlGetBounds(window, kHelpPane).width, client.right - 285 - 20);
    EXPECT_EQ(ControlGetBounds(window, kHelpPane).height, client.bottom - 65);
    EXPECT_EQ(ControlGetBounds(window, kHelpCaption).width, client.right - 285 - 35);
    int partEdges[2] = {};
    ASSERT_EQ(SendMessageW(GetDlgItem(window, kHelpStatusBar), SB_GETPARTS, 2,
                           reinterpret_cast<LPARAM>(partEdges)),
              2);
    EXPECT_EQ(partEdges[0], static_cast<int>(std::lround(client.right * 0.65)));
}

// The size of one line of text in the control's own font.
SIZE lineSize(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring wide = toWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

// At the display's scale the viewer is as large as its layout says, its
// fonts are made for the DPI, and the outline's entries, the caption line,
// the pane's first line and the status line show whole.
TEST_F(HelpWindowTest, OutlineAndTextAreReadableAtEveryScale) {
    open();
    const int dpi = requestedDpi();
    ASSERT_EQ(FormDpi(window), dpi);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_NEAR(client.right, 640 * dpi / 96.0, 2);
    EXPECT_NEAR(client.bottom, 370 * dpi / 96.0, 2);
    EXPECT_EQ(fontOf(tree()).lfHeight, fontPixelHeight(10, dpi));
    EXPECT_EQ(fontOf(pane()).lfHeight, fontPixelHeight(10, dpi));
    HWND captionLine = GetDlgItem(window, kHelpCaption);
    EXPECT_EQ(fontOf(captionLine).lfHeight, fontPixelHeight(12, dpi));

    RECT outlineClient{};
    GetClientRect(tree(), &outlineClient);
    const SIZE label = lineSize(tree(), "Totals");
    EXPECT_GE(TreeView_GetItemHeight(tree()), label.cy);
    for (int topic : {2, 4}) { // a top-level entry and a sub-topic's
        SCOPED_TRACE("topic " + std::to_string(topic));
        RECT entry{};
        ASSERT_TRUE(TreeView_GetItemRect(tree(), state.outlineEntries.at(topic - 1), &entry, TRUE));
        EXPECT_GE(entry.bottom - entry.top, label.cy);
        EXPECT_LE(entry.bottom, outlineClient.bottom);
        EXPECT_LE(entry.right, outlineClient.right);
    }

    RECT captionClient{};
    GetClientRect(captionLine, &captionClient);
    EXPECT_LE(lineSize(captionLine, caption()).cy, captionClient.bottom);

    const int margin = atDpi(12, dpi);
    EXPECT_EQ(LOWORD(SendMessageW(pane(), EM_GETMARGINS, 0, 0)), margin);
    EXPECT_EQ(HIWORD(SendMessageW(pane(), EM_GETMARGINS, 0, 0)), margin);
    RECT paneClient{};
    GetClientRect(pane(), &paneClient);
    const LRESULT start = SendMessageW(pane(), EM_POSFROMCHAR, 0, 0);
    const SIZE firstLine = lineSize(pane(), "Fill in a form.");
    EXPECT_GE(static_cast<short>(LOWORD(start)), margin);
    EXPECT_LE(static_cast<short>(LOWORD(start)) + firstLine.cx, paneClient.right - margin);
    EXPECT_LE(static_cast<short>(HIWORD(start)) + firstLine.cy, paneClient.bottom);

    HWND statusBar = GetDlgItem(window, kHelpStatusBar);
    RECT status{};
    GetWindowRect(statusBar, &status);
    EXPECT_GE(status.bottom - status.top, lineSize(statusBar, statusPart(1)).cy);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&status), 2);
    EXPECT_EQ(status.bottom, client.bottom) << "at the bottom of the window";
}

// Moved to a monitor of half as many DPI again and back, the viewer stands
// as it stood: its controls, the pane's scroll position and selection, the
// outline's selection and the focus.
TEST_F(HelpWindowTest, DpiChangeToALargerScaleAndBackKeepsThePanesPlace) {
    std::string body;
    for (int line = 1; line <= 60; ++line) body += "Line " + std::to_string(line) + " of the topic.\r\n";
    open({topic("Long", body, 0, kWrapWords), topic("Short", "Short.", 0, kWrapWords)});
    SendMessageW(pane(), EM_LINESCROLL, 0, 20);
    SendMessageW(pane(), EM_SETSEL, 200, 210);
    SetFocus(tree());
    const int firstLine = static_cast<int>(SendMessageW(pane(), EM_GETFIRSTVISIBLELINE, 0, 0));
    ASSERT_GT(firstLine, 0);
    const int controls[] = {kHelpOutline, kHelpCaption, kHelpPane, kHelpSplitter, kHelpStatusBar};
    std::vector<RECT> before;
    for (int id : controls) {
        RECT r{};
        GetWindowRect(GetDlgItem(window, id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        before.push_back(r);
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    const int dpi = FormDpi(window);

    const int largerDpi = dpi * 3 / 2;
    RECT larger{frame.left, frame.top, frame.left + 3 * (frame.right - frame.left) / 2,
                frame.top + 3 * (frame.bottom - frame.top) / 2};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(largerDpi, largerDpi),
                 reinterpret_cast<LPARAM>(&larger));
    EXPECT_EQ(fontOf(pane()).lfHeight, fontPixelHeight(10, largerDpi));
    EXPECT_EQ(LOWORD(SendMessageW(pane(), EM_GETMARGINS, 0, 0)), atDpi(12, largerDpi));
    EXPECT_EQ(ControlGetBounds(window, kHelpSplitter).x, 245) << "in layout pixels as before";
    RECT back = frame;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&back));

    for (size_t k = 0; k < before.size(); ++k) {
        SCOPED_TRACE("control " + std::to_string(controls[k]));
        RECT r{};
        GetWindowRect(GetDlgItem(window, controls[k]), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &before[k]));
    }
    EXPECT_EQ(SendMessageW(pane(), EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
    EXPECT_EQ(paneSelection().first, 200u);
    EXPECT_EQ(paneSelection().second.size(), 10u);
    EXPECT_EQ(selectedLabel(), "Long");
    EXPECT_EQ(GetFocus(), tree());
    EXPECT_EQ(paneText(), body);
}

TEST_F(HelpWindowTest, RightClicksAndF1OpenTheMenus) {
    open();
    // On an entry: the entry is selected and shown first, then the full menu.
    RECT entry{};
    TreeView_GetItemRect(tree(), state.outlineEntries.at(4), &entry, TRUE);
    POINT onEntry{entry.left + 2, entry.top + 2};
    ClientToScreen(tree(), &onEntry);
    {
        MenuWatch watch;
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree()),
                     MAKELPARAM(onEntry.x, onEntry.y));
        EXPECT_EQ(watch.opened, state.helpMenu.get());
        const std::vector<std::string> expected = {"Find text\tCTRL+F",
                                                   "Next\tF3",
                                                   "Prev\tSHFT+F3",
                                                   "",
                                                   "Expand topic",
                                                   "Collapse topic",
                                                   "Expand all\tCTRL+X",
                                                   "Collapse all\tCTRL+C",
                                                   "",
                                                   "Print item\tCTRL+P"};
        EXPECT_EQ(watch.items, expected);
    }
    EXPECT_EQ(selectedLabel(), "Printing");
    EXPECT_EQ(paneText(), "Print a topic.");

    // On empty outline space: nothing.
    POINT below{20, 300};
    ClientToScreen(tree(), &below);
    {
        MenuWatch watch;
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree()),
                     MAKELPARAM(below.x, below.y));
        EXPECT_EQ(watch.opened, nullptr);
    }
    EXPECT_EQ(selectedLabel(), "Printing");

    {
        MenuWatch watch;
        POINT inPane{30, 30};
        ClientToScreen(pane(), &inPane);
        SendMessageW(pane(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pane()),
                     MAKELPARAM(inPane.x, inPane.y));
        EXPECT_EQ(watch.opened, state.paneMenu.get());
        const std::vector<std::string> expected = {"Find text\tCTRL+F", "Next\tF3", "Prev\tSHFT+F3",
                                                   "", "Print item\tCTRL+P"};
        EXPECT_EQ(watch.items, expected);
    }
    {
        MenuWatch watch;
        SetFocus(pane());
        pressKey(VK_F1);
        ASSERT_TRUE(pumpUntil(window, [&] { return watch.opened != nullptr; }));
        EXPECT_EQ(watch.opened, state.helpMenu.get());
    }
}

TEST_F(HelpWindowTest, TextToFindDialogIsPlacedOverThePaneWhichItDisables) {
    open();
    bool paneEnabled = true;
    bool viewerEnabled = false;
    bool startsChecked = false;
    bool focusInBox = false;
    std::string okText;
    RECT frame{};
    ControlBounds ok;
    {
        WhenWindowAppears watch("Text to Find", [&](HWND dialog) {
            paneEnabled = IsWindowEnabled(pane()) != FALSE;
            viewerEnabled = IsWindowEnabled(window) != FALSE;
            startsChecked = ControlIsChecked(dialog, kSearchFromTopBox);
            focusInBox = GetFocus() == GetDlgItem(dialog, kSearchTextBox);
            okText = ControlGetText(dialog, IDOK);
            GetWindowRect(dialog, &frame);
            ok = ControlGetBounds(dialog, IDOK);
            SetWindowTextW(GetDlgItem(dialog, kSearchTextBox), L"topic");
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        selectTopic(5);
        command(kHelpFindCommand);
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
    }
    EXPECT_FALSE(paneEnabled);
    EXPECT_TRUE(viewerEnabled);
    EXPECT_TRUE(IsWindowEnabled(pane()));
    EXPECT_TRUE(startsChecked);
    EXPECT_TRUE(focusInBox);
    EXPECT_EQ(okText, "Ok");

    // W is the dialog's width less 40; the Ok button stands at W - 60, and
    // the dialog is centred on the pane's width, a quarter down its height,
    // from the viewer's client origin.
    const int w = frame.right - frame.left - 40;
    EXPECT_GE(w, 150);
    EXPECT_EQ(ok.x, w - 60);
    RECT pane{};
    GetClientRect(ControlWindow(window, kHelpPane), &pane);
    POINT corner{static_cast<LONG>(std::lround(pane.right / 2.0 - w / 2.0)),
                 static_cast<LONG>(std::lround(pane.bottom / 4.0))};
    ClientToScreen(window, &corner);
    EXPECT_EQ(frame.left, corner.x);
    EXPECT_EQ(frame.top, corner.y);

    // The close box still searches for the text typed, from the shown topic.
    EXPECT_EQ(state.searchText, "topic");
    EXPECT_EQ(selectedLabel(), "Printing");
    EXPECT_EQ(paneSelection().second, "topic");
}

TEST_F(HelpWindowTest, TabStopsFollowEachTopicsTabWidth) {
    open({topic("Narrow", "a\tb", 0, kWrapWords, 2), topic("Wide", "a\tb", 0, kWrapWords, 16),
          topic("Unset", "a\tb", 0, kWrapWords, 0)});
    auto tabbedX = [this](int topicNumber) {
        selectTopic(topicNumber);
        const LRESULT before = SendMessageW(pane(), EM_POSFROMCHAR, 0, 0);
        const LRESULT after = SendMessageW(pane(), EM_POSFROMCHAR, 2, 0);
        return static_cast<short>(LOWORD(after)) - static_cast<short>(LOWORD(before));
    };
    const int narrow = tabbedX(1);
    const int wide = tabbedX(2);
    const int standard = tabbedX(3); // no usable width: the pane's own stops, 8 characters
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, 4 * narrow);
    EXPECT_GT(standard, narrow);
    EXPECT_LT(standard, wide);
    EXPECT_EQ(tabbedX(1), narrow) << "the stops are set anew for each topic";
}

TEST_F(HelpWindowTest, OpensTheProgramsOwnHelpFile) {
    const std::string programFolder = runningProgramFolder();
    const std::string helpFile = programFolder + "plaxet.ahp";
    const HelpFileResult expected = loadHelpFile(helpFile);
    ASSERT_EQ(expected.status, HelpFileStatus::Loaded) << helpFile;
    window = openHelpWindow(state, helpFile, "", nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(outline().size(), expected.topics.size());
    const int32_t start = planOutline(expected.topics).startTopic;
    EXPECT_EQ(state.shownTopic, start);
    EXPECT_EQ(paneText(), expected.topics[static_cast<size_t>(start - 1)].body);
    EXPECT_TRUE(responder.asked().empty());
}

TEST_F(HelpWindowTest, MissingOrEmptyFileIsReportedAndNoWindowStays) {
    window = openHelpWindow(state, folder.file("absent.ahp"), "", nullptr);
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "No help available");
    EXPECT_EQ(responder.asked()[0].title, "Help File");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));

    responder.forget();
    const std::string empty = folder.file("empty.ahp");
    ASSERT_TRUE(replaceFileContents(empty, std::string(4, '\0')).ok);
    window = openHelpWindow(state, empty, "", nullptr);
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "No help content");
    EXPECT_EQ(responder.asked()[0].title, "Help File");
    EXPECT_EQ(findWindowTitled(kViewerTitle), nullptr);
    EXPECT_EQ(state.window, nullptr);
}

// The viewer has no loop of its own: it runs under the caller's, beside it,
// a second Help brings the same window forward, and its keys work under the
// program's one loop.
TEST_F(HelpWindowTest, OpensBesideTheCallerAndRunsUnderTheOneLoop) {
    FormLayout params;
    params.caption = "Caller";
    params.x = 50;
    params.y = 40;
    params.width = 200;
    params.height = 100;
    params.pixels = true;
    HWND caller = FormNew(params);
    ASSERT_NE(caller, nullptr);
    RECT callerFrame{};
    RECT helpFrame{};
    bool callerUsable = false;
    bool sameWindow = false;
    {
        WhenWindowAppears watch("Caller", [&](HWND) {
            GetWindowRect(caller, &callerFrame);
            window = openHelpWindow(state, writeHelpFile(sampleTopics()), "", caller);
            GetWindowRect(window, &helpFrame);
            callerUsable = IsWindowEnabled(caller) != FALSE;
            sameWindow = openHelpWindow(state, folder.file("plaxet.ahp"), "", caller) == window;
            PostMessageW(caller, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        FormShowModal(caller, [](HWND, UINT, WPARAM, LPARAM) -> intptr_t { return 0; });
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
    }
    EXPECT_FALSE(IsWindow(caller));
    EXPECT_TRUE(callerUsable);
    EXPECT_TRUE(sameWindow);
    EXPECT_EQ(helpFrame.left, callerFrame.left + 100);
    EXPECT_EQ(helpFrame.top, callerFrame.top + 80);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 370);
    ASSERT_TRUE(IsWindow(window)) << "the viewer has no owner to go with";

    WhenWindowAppears escape(kViewerTitle, [](HWND help) {
        SetActiveWindow(help);
        pressKey(VK_ESCAPE);
    });
    RunMessageLoop(window);
    EXPECT_FALSE(escape.timedOut()) << "Esc, the viewer's own key, closed it";
}

} // namespace
} // namespace plaxet::testing
