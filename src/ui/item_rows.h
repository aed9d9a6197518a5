#pragma once
// The item grid on the screen: its 36 cells, scroll bar and the total beside
// it show the grid's model (form/item_grid.h), and the cell that has the
// keyboard focus is told to the model's rules that need it.
#include <string>

#include "form/item_grid.h"
#include "ui/main_window_state.h"

namespace plaxet {

// The cell of a control id: its row 1..12 and its column. Row 0 for any other id.
GridCell cellPlace(int id);
// The control id of a cell.
int cellId(GridCell cell);
// The cell that has the keyboard focus; row 0 when the focus is elsewhere.
GridCell focusedCell(const MainWindow& main);

// Posted to the main window (row in wParam) after a computed row has been
// counted on leaving one of its cells.
inline constexpr UINT kSkipComputedCost = WM_APP + 2;

// Shows what an action of the model left to show: the scroll bar, the
// total, every row (a computed row's label pushed right), Show File and Copy
// File disabled while the documents are stale; and a computed row's cost cell
// is passed over once the focus has arrived (kSkipComputedCost).
void showGrid(MainWindow& main, const GridUpdate& update);

// The rows shown afresh after an edit (refreshGrid).
void refreshRows(MainWindow& main);

// The focused cell's row counts now when leaving the cell would count it
// (countFocusedRow): before a save or Create Files, which a menu key starts
// without taking the focus from the cell.
void countFocusedRowNow(MainWindow& main);

// The text of a computed row's description cell: blanks in front of `text`
// so that it ends at the cell's right edge in the cell's own font.
std::string alignComputedLabel(HWND cell, const std::string& text);

} // namespace plaxet
