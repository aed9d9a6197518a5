#include "ui/help_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>

#include "help/help_search.h"
#include "print/ctprint.h"
#include "print/topic_printout.h"
#include "runtime/file.h"
#include "runtime/text.h"
#include "runtime/utf8.h"
#include "ui/help_search_dialog.h"
#include "ui/win32_printer.h"
#include "win/failure_barrier.h"
#include "win/fonts.h"
#include "win/forms.h"
#include "win/menus.h"
#include "win/message_box.h"
#include "win/status_bar.h"
#include "win/tree_view.h"

namespace plaxet {
namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 370;
constexpr int kCallerOffsetX = 100;
constexpr int kCallerOffsetY = 80;
constexpr int kPaneMargin = 12;
constexpr int kCaptionHeight = 23;
constexpr std::string_view kLabelIndent = "     ";
constexpr std::string_view kMenuHint = "  Right click mouse (or F1) for menu options";

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kCaptionBackground = RGB(211, 211, 211);
constexpr COLORREF kPaneBackground = RGB(255, 250, 205);

// The outline's labels may be edited in place, but no edit is kept.
constexpr DWORD kOutlineStyle = TVS_SHOWSELALWAYS | TVS_EDITLABELS | WS_TABSTOP;
// Read-only in both modes, and the selection of a search hit stays visible
// while the focus is in the outline.
constexpr DWORD kPaneStyle =
    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kUnwrappedPaneStyle = kPaneStyle | ES_AUTOHSCROLL | WS_HSCROLL;

constexpr UINT_PTR kPaneHandlerId = 1;

// Only -1 asks for the unwrapped pane; every other value shows wrapped text.
int32_t paneModeOf(int32_t wrapMode) {
    return wrapMode == kWrapNone ? kWrapNone : kWrapWords;
}

void addControls(HWND window) {
    const ControlDef controls[] = {
        {ControlKind::TreeView, kHelpOutline, "", 10, 5, 235, 325, kOutlineStyle, 0},
        {ControlKind::Label, kHelpCaption, "", 250, 5, 355, 23, SS_LEFT | SS_NOPREFIX, 0},
        {ControlKind::TextBox, kHelpPane, "", 250, 30, 370, 300, kPaneStyle, 0},
        {ControlKind::Label, kHelpSplitter, "", 245, 5, 5, 325, SS_NOTIFY, 0},
        {ControlKind::StatusBar, kHelpStatusBar, "", 0, 360, 700, 5, kDefaultStyle, 0},
    };
    ControlAddAll(window, controls);
}

HWND paneOf(const HelpViewerState& state) {
    return ControlWindow(state.window, kHelpPane);
}

void openMenu(const HelpViewerState& state, HMENU menu, int x, int y) {
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, x, y, 0, state.window,
                   nullptr);
}

LRESULT CALLBACK paneHandler(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

LRESULT handlePaneMessage(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(pane, paneHandler, kPaneHandlerId);
    if (message == WM_CONTEXTMENU) {
        const auto& state = *reinterpret_cast<const HelpViewerState*>(data);
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (lParam == -1) GetCursorPos(&at); // asked for from the keyboard
        openMenu(state, state.paneMenu.get(), at.x, at.y);
        return 0;
    }
    return DefSubclassProc(pane, message, wParam, lParam);
}

LRESULT CALLBACK paneHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR data) {
    // Nothing the handler throws may unwind into the system's code.
    return guardWindowProcedure<LRESULT>(
        0, [&] { return handlePaneMessage(window, message, wParam, lParam, id, data); });
}

// Look, margins and menu of a newly made text pane.
void setUpPane(HelpViewerState& state) {
    HWND window = state.window;
    ControlSetFont(window, kHelpPane, FontNew("MS Sans Serif", 10));
    ControlSetColors(window, kHelpPane, kBlack, kPaneBackground);
    TextBoxSetMargins(window, kHelpPane, kPaneMargin, kPaneMargin);
    SetWindowSubclass(paneOf(state), paneHandler, kPaneHandlerId,
                      reinterpret_cast<DWORD_PTR>(&state));
}

// An edit control cannot switch between wrapped and unwrapped text, so the
// pane is made again in the other mode, in the same place and tab position.
void setPaneWrap(HelpViewerState& state, int32_t mode) {
    HWND window = state.window;
    const std::string text = ControlGetText(window, kHelpPane);
    const ControlBounds bounds = ControlGetBounds(window, kHelpPane);
    ControlKill(window, kHelpPane);
    const DWORD style = mode == kWrapNone ? kUnwrappedPaneStyle : kPaneStyle;
    HWND pane = ControlAdd(window, {ControlKind::TextBox, kHelpPane, text, bounds.x, bounds.y,
                                    bounds.width, bounds.height, style, 0});
    SetWindowPos(pane, ControlWindow(window, kHelpCaption), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    setUpPane(state);
}

std::optional<int32_t> topicOfEntry(const HelpViewerState& state, HTREEITEM entry) {
    if (!entry) return std::nullopt;
    const auto topic = static_cast<int32_t>(TreeItemParam(state.window, kHelpOutline, entry));
    if (topic < 1 || topic > static_cast<int32_t>(state.topics.size())) return std::nullopt;
    return topic;
}

void setBold(const HelpViewerState& state, HTREEITEM entry, bool bold) {
    if (entry) TreeSetItemState(state.window, kHelpOutline, entry, bold ? TVIS_BOLD : 0, TVIS_BOLD);
}

// Shows the topic of the outline's selected entry: pane text, wrap mode and
// tab stops, caption line and status line.
void showSelectedTopic(HelpViewerState& state) {
    HWND window = state.window;
    HTREEITEM entry = TreeSelectedItem(window, kHelpOutline);
    const std::optional<int32_t> topicNumber = topicOfEntry(state, entry);
    if (!topicNumber) return; // the outline is being emptied
    setBold(state, state.selectedEntry, false);
    state.selectedEntry = entry;
    state.shownTopic = *topicNumber;
    const HelpTopic& topic = state.topics[static_cast<size_t>(*topicNumber - 1)];

    const int32_t mode = paneModeOf(topic.wrapMode);
    if (mode != state.paneWrapMode) {
        setPaneWrap(state, mode);
        state.paneWrapMode = mode;
    }
    // One interval in dialog template units (four to an average character);
    // without a usable width the pane keeps its standard stops.
    if (topic.tabWidth > 0 && topic.tabWidth <= 0xFFFF / 4) {
        int interval = topic.tabWidth * 4;
        ControlSend(window, kHelpPane, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&interval));
    } else {
        ControlSend(window, kHelpPane, EM_SETTABSTOPS, 0, 0);
    }
    ControlSetText(window, kHelpPane, topic.body);

    const std::string label = TreeItemText(window, kHelpOutline, entry);
    ControlSetText(window, kHelpCaption, std::string(kLabelIndent) + label);
    const auto parent = reinterpret_cast<HTREEITEM>(ControlSend(
        window, kHelpOutline, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(entry)));
    const std::string place =
        parent ? TreeItemText(window, kHelpOutline, parent) + " : " + label : label;
    StatusBarSetText(window, kHelpStatusBar, 2, place);
}

// Makes the topic's entry the outline's selection, which shows the topic.
void selectTopic(HelpViewerState& state, int32_t topic) {
    if (topic < 1 || topic > static_cast<int32_t>(state.outlineEntries.size())) return;
    HTREEITEM entry = state.outlineEntries[static_cast<size_t>(topic - 1)];
    ControlSend(state.window, kHelpOutline, TVM_SELECTITEM, TVGN_CARET,
                reinterpret_cast<LPARAM>(entry));
    // Before the window's procedure is in place the outline's report of the
    // change reaches nobody, so the topic is shown here.
    if (state.selectedEntry != entry) showSelectedTopic(state);
}

void buildOutline(HelpViewerState& state) {
    HWND window = state.window;
    state.outlineEntries.clear();
    TreeDeleteItem(window, kHelpOutline, TVI_ROOT);
    state.selectedEntry = nullptr;
    const HelpOutline plan = planOutline(state.topics);
    // With thousands of topics the outline would lay itself out and repaint
    // after every entry added and every branch opened; it does so once, at
    // the end.
    HWND outline = ControlWindow(window, kHelpOutline);
    SendMessageW(outline, WM_SETREDRAW, FALSE, 0);
    std::vector<bool> hasEntriesUnder(state.topics.size(), false);
    for (size_t i = 0; i < state.topics.size(); ++i) {
        const int32_t parent = plan.parents[i];
        HTREEITEM under =
            parent > 0 ? state.outlineEntries[static_cast<size_t>(parent - 1)] : TVI_ROOT;
        if (parent > 0) hasEntriesUnder[static_cast<size_t>(parent - 1)] = true;
        state.outlineEntries.push_back(TreeAddItem(
            window, kHelpOutline, under, state.topics[i].title, static_cast<LPARAM>(i + 1)));
    }
    // Only a branch can open; asking every entry would cost a message each.
    for (size_t i = 0; i < state.outlineEntries.size(); ++i)
        if (hasEntriesUnder[i]) TreeExpand(window, kHelpOutline, state.outlineEntries[i], true);
    SendMessageW(outline, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(outline, nullptr, TRUE);
    selectTopic(state, plan.startTopic);
}

void buildMenus(HelpViewerState& state) {
    struct Item {
        std::string_view text;
        UINT command;
    };
    constexpr Item kFind{"Find text\tCTRL+F", kHelpFindCommand};
    constexpr Item kNext{"Next\tF3", kHelpNextCommand};
    constexpr Item kPrev{"Prev\tSHFT+F3", kHelpPrevCommand};
    constexpr Item kSeparator{"-", 0};
    constexpr Item kPrint{"Print item\tCTRL+P", kHelpPrintCommand};
    const Item full[] = {kFind,
                         kNext,
                         kPrev,
                         kSeparator,
                         {"Expand topic", kHelpExpandTopicCommand},
                         {"Collapse topic", kHelpCollapseTopicCommand},
                         {"Expand all\tCTRL+X", kHelpExpandAllCommand},
                         {"Collapse all\tCTRL+C", kHelpCollapseAllCommand},
                         kSeparator,
                         kPrint};
    const Item pane[] = {kFind, kNext, kPrev, kSeparator, kPrint};
    auto make = [](std::span<const Item> items) {
        UniqueMenu menu = MenuNew(MenuKind::Popup);
        for (const Item& item : items) MenuAddItem(menu.get(), item.text, item.command);
        return menu;
    };
    state.helpMenu = make(full);
    state.paneMenu = make(pane);
    // Ctrl+C is left to the text pane, which copies its selection.
    AcceleratorsSet(state.window, {
                                      {FCONTROL | FVIRTKEY, 'F', kHelpFindCommand},
                                      {FVIRTKEY, VK_F3, kHelpNextCommand},
                                      {FSHIFT | FVIRTKEY, VK_F3, kHelpPrevCommand},
                                      {FCONTROL | FVIRTKEY, 'P', kHelpPrintCommand},
                                      {FCONTROL | FVIRTKEY, 'X', kHelpExpandAllCommand},
                                      {FVIRTKEY, VK_F1, kHelpMenuKey},
                                      {FVIRTKEY, VK_ESCAPE, kHelpCloseKey},
                                  });
}

// Sizes in layout pixels, like the control table.
void resize(HelpViewerState& state) {
    HWND window = state.window;
    const SIZE client = FormClientSize(window);
    const int width = client.cx;
    const int height = client.cy;
    const ControlBounds splitter = ControlGetBounds(window, kHelpSplitter);
    const ControlBounds outline = ControlGetBounds(window, kHelpOutline);
    ControlResize(window, kHelpCaption, width - splitter.x - 35, splitter.y + 18);
    ControlResize(window, kHelpPane, width - splitter.x - 20, height - 65);
    ControlResize(window, kHelpOutline, outline.width, height - 40);
    ControlResize(window, kHelpSplitter, 5, height - 40);
    ControlSend(window, kHelpStatusBar, WM_SIZE, SIZE_RESTORED, 0); // it takes its own size
    StatusBarSetParts(window, kHelpStatusBar, {static_cast<int>(std::lround(width * 0.65)), -1});
}

bool initialise(HelpViewerState& state, HWND window) {
    state.window = window;
    state.selectedEntry = nullptr;
    state.shownTopic = 0;
    state.paneWrapMode = kWrapWords;
    state.splitterDrag = {};
    FormSetIcon(window, L"GenHelp", false);

    HelpFileResult file = loadHelpFile(state.helpFilePath);
    if (file.status != HelpFileStatus::Loaded) {
        MessageBox(file.message, file.boxTitle, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    state.topics = std::move(file.topics);

    ControlSetFont(window, kHelpCaption, FontNew("MS Sans Serif", 12));
    ControlSetColors(window, kHelpCaption, kBlack, kCaptionBackground);
    ControlSetFont(window, kHelpOutline, FontNew("MS Sans Serif", 10));
    setUpPane(state);
    buildMenus(state);
    // The status line's parts must exist before a topic can name itself there.
    resize(state);
    StatusBarSetText(window, kHelpStatusBar, 1, kMenuHint);
    buildOutline(state);
    return true;
}

// The shown topic's text, whose byte positions the search counts in.
std::string_view shownBody(const HelpViewerState& state) {
    if (state.shownTopic < 1 || static_cast<size_t>(state.shownTopic) > state.topics.size())
        return {};
    return state.topics[static_cast<size_t>(state.shownTopic - 1)].body;
}

// Selects the bytes of a selection in the pane, which counts UTF-16 units.
void selectInPane(const HelpViewerState& state, PaneSelection bytes) {
    const std::string_view body = shownBody(state);
    const auto units = [&](int32_t at) {
        return static_cast<LPARAM>(utf16Offset(body, static_cast<size_t>(std::max(at, 0))));
    };
    ControlSend(state.window, kHelpPane, EM_SETSEL, static_cast<WPARAM>(units(bytes.start)),
                units(bytes.end));
}

// A hit: its topic shown and marked, the matched characters selected.
void showMatch(HelpViewerState& state, const HelpMatch& match) {
    selectTopic(state, match.topic);
    setBold(state, state.selectedEntry, true);
    selectInPane(state,
                 selectionOfMatch(match.position, static_cast<int32_t>(state.searchText.size())));
    ControlSend(state.window, kHelpPane, EM_SCROLLCARET);
}

void sayNoneFound(const HelpViewerState& state, std::string_view message) {
    MessageBox(message, state.searchText, MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

PaneSelection paneSelection(const HelpViewerState& state) {
    DWORD start = 0;
    DWORD end = 0;
    ControlSend(state.window, kHelpPane, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                reinterpret_cast<LPARAM>(&end));
    const std::string_view body = shownBody(state);
    return {static_cast<int32_t>(byteOffsetOfUtf16(body, start)),
            static_cast<int32_t>(byteOffsetOfUtf16(body, end))};
}

void findText(HelpViewerState& state) {
    state.searchTopic = state.shownTopic;
    const SearchTextAnswer answer = askSearchText("Enter text:", "Text to Find", "", paneOf(state));
    if (!IsWindow(state.window)) return; // closed while the dialog was open
    if (answer.fromTop) state.searchTopic = 1;
    state.searchText = LCase(answer.text);
    selectTopic(state, state.searchTopic);
    setBold(state, state.selectedEntry, true);
    if (state.searchText.empty()) {
        SetFocus(ControlWindow(state.window, kHelpOutline));
        return;
    }
    if (const auto match = findFirstMatch(state.topics, state.searchText, state.searchTopic))
        showMatch(state, *match);
    else
        sayNoneFound(state, "None found");
}

// Next and Prev: a hit becomes the last match; otherwise the last match is
// selected again after the message.
void stepTo(HelpViewerState& state, const std::optional<HelpMatch>& match) {
    if (match) {
        showMatch(state, *match);
        state.lastMatchPos = match->position;
        state.searchTopic = match->topic;
        return;
    }
    sayNoneFound(state, "No more found");
    if (state.lastMatchPos < 1 || !IsWindow(state.window)) return;
    selectInPane(
        state, selectionOfMatch(state.lastMatchPos, static_cast<int32_t>(state.searchText.size())));
}

void findNext(HelpViewerState& state) {
    state.searchTopic = state.shownTopic;
    stepTo(state, findNextMatch(state.topics, state.searchText, state.searchTopic,
                                paneSelection(state).end));
}

void findPrev(HelpViewerState& state) {
    state.searchTopic = state.shownTopic;
    stepTo(state, findPrevMatch(state.topics, state.searchText, state.searchTopic,
                                paneSelection(state).start));
}

void printItem(const HelpViewerState& state) {
    if (state.shownTopic < 1 ||
        state.topics[static_cast<size_t>(state.shownTopic - 1)].body.empty())
        return;
    // Copies: though the print dialog holds the viewer off while it is up,
    // the main window's Help command could still reopen it on another file,
    // which replaces the topic table.
    const std::string body = state.topics[static_cast<size_t>(state.shownTopic - 1)].body;
    const std::string heading = TreeItemText(state.window, kHelpOutline, state.selectedEntry);
    Win32PrinterDevice device(state.window);
    cTPrint printer(device);
    printTopic(printer, heading, body);
}

void expandAll(const HelpViewerState& state, bool expand) {
    for (HTREEITEM entry : state.outlineEntries)
        TreeExpand(state.window, kHelpOutline, entry, expand);
}

void openOutlineMenu(HelpViewerState& state, LPARAM pointer) {
    const POINT screen{GET_X_LPARAM(pointer), GET_Y_LPARAM(pointer)};
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(ControlWindow(state.window, kHelpOutline), &hit.pt);
    const auto entry = reinterpret_cast<HTREEITEM>(
        ControlSend(state.window, kHelpOutline, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!entry) return;
    ControlSend(state.window, kHelpOutline, TVM_SELECTITEM, TVGN_CARET,
                reinterpret_cast<LPARAM>(entry));
    openMenu(state, state.helpMenu.get(), screen.x, screen.y);
}

void openMenuByKey(const HelpViewerState& state) {
    RECT frame{};
    GetWindowRect(state.window, &frame);
    openMenu(state, state.helpMenu.get(), frame.left + FormScale(state.window, 40),
             frame.top + FormScale(state.window, 50));
}

// The bar between outline and pane: the sizing arrow over it, and a drag
// from a press on it that moves the controls while the pointer is over any
// of them (the pointer is not captured).
bool trackSplitter(HelpViewerState& state, HWND under, UINT mouseMessage) {
    HWND window = state.window;
    SplitterDrag& drag = state.splitterDrag;
    const bool overSplitter = under == ControlWindow(window, kHelpSplitter);
    if (overSplitter) SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    if (mouseMessage == WM_LBUTTONDOWN && overSplitter) {
        drag.active = true;
        drag.outline = ControlGetBounds(window, kHelpOutline);
        drag.pane = ControlGetBounds(window, kHelpPane);
        drag.splitterLeft = ControlGetBounds(window, kHelpSplitter).x;
    } else if (mouseMessage == WM_MOUSEMOVE && drag.active) {
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(window, &pointer);
        const int shift = FormUnscale(window, pointer.x) - drag.splitterLeft;
        if (shift != 0) {
            const ControlBounds& o = drag.outline;
            const ControlBounds& p = drag.pane;
            ControlMove(window, kHelpOutline, o.x, o.y);
            ControlResize(window, kHelpOutline, o.width + shift, o.height);
            ControlMove(window, kHelpCaption, p.x + shift, o.y);
            ControlResize(window, kHelpCaption, p.width - shift - 15, kCaptionHeight);
            ControlMove(window, kHelpPane, p.x + shift, o.y + kCaptionHeight);
            ControlResize(window, kHelpPane, p.width - shift, o.height - kCaptionHeight);
            ControlMove(window, kHelpSplitter, drag.splitterLeft + shift, o.y);
        }
    } else if (mouseMessage == WM_LBUTTONUP) {
        drag.active = false;
    }
    return overSplitter;
}

bool runCommand(HelpViewerState& state, int command) {
    switch (command) {
    case kHelpFindCommand:
        findText(state);
        return true;
    case kHelpNextCommand:
        findNext(state);
        return true;
    case kHelpPrevCommand:
        findPrev(state);
        return true;
    case kHelpPrintCommand:
        printItem(state);
        return true;
    case kHelpExpandTopicCommand:
    case kHelpCollapseTopicCommand:
        if (state.selectedEntry)
            TreeExpand(state.window, kHelpOutline, state.selectedEntry,
                       command == kHelpExpandTopicCommand);
        return true;
    case kHelpExpandAllCommand:
    case kHelpCollapseAllCommand:
        expandAll(state, command == kHelpExpandAllCommand);
        return true;
    case kHelpMenuKey:
        openMenuByKey(state);
        return true;
    case kHelpCloseKey:
    case IDCANCEL:
        FormEnd(state.window, 0);
        return true;
    default:
        return false;
    }
}

void forgetWindow(HelpViewerState& state) {
    state.window = nullptr;
    state.outlineEntries.clear();
    state.selectedEntry = nullptr;
    state.splitterDrag = {};
    state.helpMenu.reset();
    state.paneMenu.reset();
}

EventProcedure helpWindowProcedure(HelpViewerState& state) {
    return [&state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> intptr_t {
        switch (message) {
        case WM_INITDIALOG:
            if (!initialise(state, window)) FormEnd(window, 0);
            return 1;
        case WM_SIZE:
            resize(state);
            return 1;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == kHelpOutline &&
                (header->code == TVN_SELCHANGEDW || header->code == TVN_SELCHANGEDA))
                showSelectedTopic(state);
            return 0;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) != ControlWindow(window, kHelpOutline)) return 0;
            openOutlineMenu(state, lParam);
            return 1;
        case WM_SETCURSOR:
            if (!trackSplitter(state, reinterpret_cast<HWND>(wParam), HIWORD(lParam))) return 0;
            SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
            return 1;
        case WM_COMMAND:
            return runCommand(state, LOWORD(wParam)) ? 1 : 0;
        case WM_DESTROY:
            forgetWindow(state);
            return 0;
        default:
            return 0;
        }
    };
}

} // namespace

HWND openHelpWindow(HelpViewerState& state, const std::string& helpFilePath,
                    const std::string& title, HWND caller) {
    if (IsWindow(state.window)) {
        ShowWindow(state.window, SW_RESTORE);
        SetForegroundWindow(state.window);
        return state.window;
    }
    state.helpFilePath = helpFilePath;
    if (!fileExists(helpFilePath)) {
        MessageBox("No help available", "Help File", MB_OK | MB_ICONINFORMATION);
        return nullptr;
    }
    RECT callerFrame{};
    if (caller) GetWindowRect(caller, &callerFrame);
    FormLayout params;
    params.caption = title.empty() ? "Application Help" : title;
    params.x = callerFrame.left + FormScale(caller, kCallerOffsetX);
    params.y = callerFrame.top + FormScale(caller, kCallerOffsetY);
    params.width = kClientWidth;
    params.height = kClientHeight;
    params.pixels = true;
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
    HWND window = FormNew(params);
    if (!window) return nullptr;
    addControls(window);
    FormShowModeless(window, helpWindowProcedure(state));
    if (!IsWindow(window)) {
        forgetWindow(state);
        return nullptr;
    }
    return window;
}

} // namespace plaxet
