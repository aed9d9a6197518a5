#include "ui/item_cells.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/control_ids.h"
#include "ui/item_rows.h"
#include "win/controls.h"
#include "win/failure_barrier.h"

namespace plaxet {
namespace {

constexpr UINT_PTR kCellSubclassId = 1;

// Up and down arrows: to the same column of the row above or below, or a
// scroll by one line when the focus is in the first or last row.
void arrowKey(MainWindow& main, int id, bool down) {
    const ArrowMove move = moveAcrossRows(main.grid, main.form, main.editor, cellPlace(id), down);
    showGrid(main, move.update);
    const int target = cellId(move.to);
    if (target != id) ControlSetFocus(main.window, target);
    ControlSend(main.window, target, EM_SETSEL, 0, 0); // the caret at the start of the text
}

void showRowPopup(MainWindow& main, HWND cell, LPARAM where) {
    const int id = GetDlgCtrlID(cell);
    // The row commands take their row from the focused cell, as they do from
    // the Edit menu; so the clicked cell takes the focus first, or a command
    // chosen for this row would act on the row where the focus was.
    if (GetFocus() != cell) ControlSetFocus(main.window, id);
    if (!offerRowCommands(main.grid, main.form, cellPlace(id).row)) return;
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard the event carries no position: under the cell.
        RECT bounds{};
        GetWindowRect(cell, &bounds);
        at = {bounds.left, bounds.bottom};
    }
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        main.rowPopup.get(), TPM_LEFTALIGN | TPM_RETURNCMD, at.x, at.y, 0, main.window, nullptr));
    if (chosen == 0) return;
    if (GetFocus() != cell) ControlSetFocus(main.window, id);
    SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

LRESULT CALLBACK cellProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

LRESULT handleCellMessage(HWND cell, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    MainWindow& main = *reinterpret_cast<MainWindow*>(data);
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(cell, message, wParam, lParam);
        // Enter is the cell's own key: the dialog manager would otherwise
        // press whichever button is the window's default.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP) {
            arrowKey(main, GetDlgCtrlID(cell), wParam == VK_DOWN);
            return 0;
        }
        if (wParam == VK_RETURN) return 0; // acted on when released
        break;
    case WM_CHAR:
        if (wParam == '\r') return 0; // a one-line box would only beep
        break;
    case WM_KEYUP:
        if (wParam == VK_RETURN) SendMessageW(main.window, WM_NEXTDLGCTL, 0, FALSE);
        break;
    case WM_CONTEXTMENU:
        showRowPopup(main, cell, lParam); // never the text box's own menu
        return 0;
    case WM_MOUSEWHEEL:
        // Wine's one-line text box swallows the wheel instead of passing it
        // to its parent; the grid scrolls by it, so the cell hands it on.
        return SendMessageW(main.window, message, wParam, lParam);
    case WM_NCDESTROY:
        RemoveWindowSubclass(cell, cellProcedure, kCellSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(cell, message, wParam, lParam);
}

LRESULT CALLBACK cellProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    // Nothing the handler throws may unwind into the system's code.
    return guardWindowProcedure<LRESULT>(
        0, [&] { return handleCellMessage(window, message, wParam, lParam, id, data); });
}

} // namespace

void attachItemCells(MainWindow& main) {
    for (int row = 1; row <= kVisibleRows; ++row)
        for (int column : {kDateColumn, kDescriptionColumn, kCostColumn})
            if (HWND cell = ControlWindow(main.window, column + row))
                SetWindowSubclass(cell, cellProcedure, kCellSubclassId,
                                  reinterpret_cast<DWORD_PTR>(&main));
}

void onItemCellEvent(MainWindow& main, int id, int notification) {
    ControlSend(main.window, id, EM_SETSEL, static_cast<WPARAM>(-1), 0); // the caret stays
    const GridCell cell = cellPlace(id);
    if (cell.row == 0) return;
    if (notification == EN_CHANGE)
        typeIntoCell(main.grid, main.form, main.editor, cell, ControlGetText(main.window, id));
    else if (notification == EN_KILLFOCUS)
        showGrid(main, leaveCell(main.grid, main.form, main.editor, cell));
}

void skipComputedCost(MainWindow& main, int row) {
    if (row < 1 || row > kVisibleRows) return;
    if (GetFocus() != ControlWindow(main.window, kCostColumn + row)) return;
    SendMessageW(main.window, WM_NEXTDLGCTL, 0, FALSE);
}

} // namespace plaxet
