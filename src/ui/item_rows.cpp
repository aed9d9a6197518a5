#include "ui/item_rows.h"

#include <algorithm>

#include "runtime/wide.h"
#include "ui/control_ids.h"
#include "ui/form_transfer.h"
#include "win/controls.h"
#include "win/handles.h"

namespace plaxet {
namespace {

static_assert(kVisibleRows == kGridRows, "the window shows every row of the grid's model");

constexpr struct {
    GridColumn column;
    int heading;
} kColumns[] = {
    {GridColumn::Date, kDateColumn},
    {GridColumn::Description, kDescriptionColumn},
    {GridColumn::Cost, kCostColumn},
};

int textWidth(HDC dc, const std::string& text) {
    const std::wstring wide = toWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

void showScrollBar(const MainWindow& main) {
    const GridScroll& scroll = main.grid.scroll;
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

void showRows(MainWindow& main) {
    for (int row = 1; row <= kGridRows; ++row) {
        ShownRow shown = shownRow(main.grid, main.form, row);
        if (shown.computed)
            shown.description = alignComputedLabel(
                ControlWindow(main.window, kDescriptionColumn + row), shown.description);
        showText(main, kDateColumn + row, shown.date);
        showText(main, kDescriptionColumn + row, shown.description);
        showText(main, kCostColumn + row, shown.cost);
    }
}

} // namespace

GridCell cellPlace(int id) {
    for (const auto& column : kColumns) {
        const int row = id - column.heading;
        if (row >= 1 && row <= kGridRows) return {row, column.column};
    }
    return {};
}

int cellId(GridCell cell) {
    for (const auto& column : kColumns)
        if (column.column == cell.column) return column.heading + cell.row;
    return 0;
}

GridCell focusedCell(const MainWindow& main) {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != main.window) return {};
    return cellPlace(GetDlgCtrlID(focus));
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

void showGrid(MainWindow& main, const GridUpdate& update) {
    if (update.scrollBar) showScrollBar(main);
    // The focus is still on its way to the next control; where it lands is
    // only known once it has arrived.
    if (update.skipCostOfRow != 0)
        PostMessageW(main.window, kSkipComputedCost, static_cast<WPARAM>(update.skipCostOfRow), 0);
    if (update.total) showTotalInAmountBox(main);
    if (update.rows) showRows(main);
    if (update.documentsStale) {
        ControlEnable(main.window, kShowFileButton, false);
        ControlEnable(main.window, kCopyFileButton, false);
    }
}

void refreshRows(MainWindow& main) {
    showGrid(main, refreshGrid(main.grid, main.form, main.editor));
}

void countFocusedRowNow(MainWindow& main) {
    showGrid(main, countFocusedRow(main.grid, main.form, main.editor, focusedCell(main)));
}

} // namespace plaxet
