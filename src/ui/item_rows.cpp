#include "ui/item_rows.h"

#include <algorithm>

#include "output/totals.h"
#include "runtime/numbers.h"
#include "runtime/text.h"
#include "win/controls.h"
#include "runtime/wide.h"
#include "ui/control_ids.h"
#include "ui/form_transfer.h"

namespace plaxet {
namespace {

// A device context of a window, released when it goes out of scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

int textWidth(HDC dc, const std::string& text) {
    const std::wstring wide = toWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

struct RowTexts {
    std::string date;
    std::string description;
    std::string cost;
};

RowTexts rowTexts(MainWindow& main, int32_t item, int row) {
    FormDocument& form = main.form;
    if (item < 1 || item > form.itemCapacity) return {};
    const auto i = static_cast<size_t>(item - 1);
    RowTexts texts;
    texts.date = form.itemDates[i];
    form.itemDescriptions[i] = Trim(form.itemDescriptions[i]);
    texts.description = form.itemDescriptions[i];
    if (rowKindOf(texts.description) != RowKind::Plain)
        texts.description = alignComputedLabel(ControlWindow(main.window, kDescriptionColumn + row),
                                               texts.description);
    if (!form.itemCosts[i].empty() && item <= form.itemCount)
        texts.cost = Format(static_cast<double>(Val(form.itemCosts[i])));
    return texts;
}

} // namespace

CellPlace cellPlace(int id) {
    for (int column : {kDateColumn, kDescriptionColumn, kCostColumn}) {
        const int row = id - column;
        if (row >= 1 && row <= kVisibleRows) return {row, column};
    }
    return {};
}

std::string alignComputedLabel(HWND cell, const std::string& text) {
    RECT client{};
    GetClientRect(cell, &client);
    // The box keeps margins inside its client area; text padded to the full
    // width would run past the right margin and lose its last letters.
    const auto margins = static_cast<DWORD>(SendMessageW(cell, EM_GETMARGINS, 0, 0));
    const int room = client.right - LOWORD(margins) - HIWORD(margins);
    WindowDc dc(cell);
    if (!dc.get()) return text;
    const HGDIOBJ previous =
        SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(cell, WM_GETFONT, 0, 0)));
    const int tenBlanks = textWidth(dc.get(), std::string(10, ' '));
    const int width = textWidth(dc.get(), text);
    SelectObject(dc.get(), previous);
    if (tenBlanks <= 0) return text;
    const int blanks = (10 * (room - width)) / tenBlanks;
    return std::string(static_cast<size_t>(std::max(blanks, 0)), ' ') + text;
}

void refreshRows(MainWindow& main) {
    const bool changedBefore = main.editor.changed;
    if (!main.editor.rowRefreshInProgress) recalcTotals(main);
    for (int row = 1; row <= kVisibleRows; ++row) {
        const int32_t item = main.editor.topItem + row - 1;
        const RowTexts texts = rowTexts(main, item, row);
        ControlSetText(main.window, kDateColumn + row, texts.date);
        ControlSetText(main.window, kDescriptionColumn + row, texts.description);
        ControlSetText(main.window, kCostColumn + row, texts.cost);
        // What a refresh writes counts as typed: the items take the texts
        // shown, and the form counts as changed.
        if (main.editor.rowRefreshInProgress || item > main.form.itemCapacity) continue;
        const auto i = static_cast<size_t>(item - 1);
        main.form.itemDates[i] = texts.date;
        main.form.itemDescriptions[i] = texts.description;
        main.form.itemCosts[i] = texts.cost;
        main.editor.changed = true;
    }
    if (main.editor.changed) {
        ControlEnable(main.window, kShowFileButton, false);
        ControlEnable(main.window, kCopyFileButton, false);
    }
    main.editor.changed = changedBefore;
}

void updateScrollBar(MainWindow& main) {
    ItemScroll& scroll = main.scroll;
    scroll.maximum = std::max(1, main.form.itemCount - 10);
    scroll.page = std::max(1, roundToInt((scroll.maximum - 1) / 5.0));
    scroll.position = main.editor.topItem;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    // Shown disabled rather than hidden when there is nothing to scroll.
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 1;
    info.nMax = scroll.maximum;
    info.nPage = static_cast<UINT>(scroll.page);
    info.nPos = scroll.position;
    SetScrollInfo(ControlWindow(main.window, kItemScrollBar), SB_CTL, &info, TRUE);
}

} // namespace plaxet
