#include "ui/item_rows.h"

#include <algorithm>

#include "output/totals.h"
#include "runtime/numbers.h"
#include "runtime/text.h"
#include "win/controls.h"
#include "win/handles.h"
#include "runtime/wide.h"
#include "ui/control_ids.h"
#include "ui/form_transfer.h"

namespace plaxet {
namespace {

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

// What row `row` shows of `item` once the refresh has made the record's
// texts its own: the date, the description (a computed row's pushed right),
// and for a counted item the money text of its cost.
RowTexts rowTexts(const MainWindow& main, int32_t item, int row) {
    const Item& shown = itemAt(main.form, item);
    RowTexts texts;
    texts.date = shown.date;
    texts.description = shown.description;
    if (rowKindOf(texts.description) != RowKind::Plain)
        texts.description = alignComputedLabel(ControlWindow(main.window, kDescriptionColumn + row),
                                               texts.description);
    if (item >= 1 && item <= main.form.itemCount && !shown.cost.empty())
        texts.cost = Format(static_cast<double>(Val(shown.cost)));
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
    int tenBlanks = 0;
    int width = 0;
    {
        const SelectedObject font(dc.get(),
                                  reinterpret_cast<HFONT>(SendMessageW(cell, WM_GETFONT, 0, 0)));
        tenBlanks = textWidth(dc.get(), std::string(10, ' '));
        width = textWidth(dc.get(), text);
    }
    if (tenBlanks <= 0) return text;
    const int blanks = (10 * (room - width)) / tenBlanks;
    return std::string(static_cast<size_t>(std::max(blanks, 0)), ' ') + text;
}

void setCellText(MainWindow& main, int id, const std::string& text) {
    const RaisedFlag writing(main.writingCells);
    ControlSetText(main.window, id, text);
}

void refreshRows(MainWindow& main, RowRefresh why) {
    // Everything written into the cells here is the program's, not typing.
    const RaisedFlag writing(main.writingCells);
    if (main.rowRefreshStarting) main.rowRefreshStarting();
    const bool scrolling = why == RowRefresh::AfterScroll;
    const ItemSums sums = scrolling ? screenSums(main.form) : recalcTotals(main);
    // Computed rows hold the amounts the sums give them, as their cells show.
    main.form = withComputedCosts(std::move(main.form), sums);
    const bool documentsStale =
        refreshShownItems(main.form, main.editor, {main.topItem, kVisibleRows, scrolling});
    for (int row = 1; row <= kVisibleRows; ++row) {
        const int32_t item = itemOfRow(main, row);
        const RowTexts texts = rowTexts(main, item, row);
        setCellText(main, kDateColumn + row, texts.date);
        setCellText(main, kDescriptionColumn + row, texts.description);
        setCellText(main, kCostColumn + row, texts.cost);
        // A scroll shows the labels without making their blanks the form's.
        main.labelAligned[static_cast<size_t>(row - 1)] =
            !scrolling && rowKindOf(itemAt(main.form, item).description) != RowKind::Plain;
    }
    if (documentsStale) {
        ControlEnable(main.window, kShowFileButton, false);
        ControlEnable(main.window, kCopyFileButton, false);
    }
}

namespace {

bool labelAlignedIn(const MainWindow& main, int row) {
    return main.labelAligned[static_cast<size_t>(row - 1)];
}

// What leaving the cell at `place` does to its row.
RowCompletion completionOf(const MainWindow& main, CellPlace place) {
    return rowCompletion(main.form, itemOfRow(main, place.row), labelAlignedIn(main, place.row),
                         place.column == kCostColumn);
}

} // namespace

void leaveRowCell(MainWindow& main, CellPlace place, bool focusMovesOn) {
    const int32_t countBefore = main.form.itemCount;
    const RowCompletion completion =
        leaveRow(main.form, itemOfRow(main, place.row), labelAlignedIn(main, place.row),
                 place.column == kCostColumn);
    // The range follows every new item, so the bottom row can always be
    // scrolled on from, whichever way the item came to count.
    if (main.form.itemCount != countBefore) updateScrollBar(main);
    // The focus is still on its way to the next control; where it lands is
    // only known once it has arrived.
    if (completion == RowCompletion::ComputedRow && focusMovesOn)
        PostMessageW(main.window, kSkipComputedCost, static_cast<WPARAM>(place.row), 0);
    refreshRows(main);
}

void countFocusedRowBeforeScrolling(MainWindow& main) {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != main.window || !main.itemCellEdited) return;
    const CellPlace place = cellPlace(GetDlgCtrlID(focus));
    if (place.row == 0) return;
    const RowCompletion completion = completionOf(main, place);
    const bool counts = completion == RowCompletion::PlainRow ||
                        (completion == RowCompletion::ComputedRow &&
                         itemOfRow(main, place.row) > main.form.itemCount);
    if (counts) leaveRowCell(main, place, false);
}

void updateScrollBar(MainWindow& main) {
    ItemScroll& scroll = main.scroll;
    scroll.maximum = std::max(1, main.form.itemCount - 10);
    scroll.page = std::max(1, roundToInt((scroll.maximum - 1) / 5.0));
    scroll.position = main.topItem;
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
