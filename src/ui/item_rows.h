#pragma once
// The twelve visible rows of the item grid: showing the record's items in
// them, what leaving a row's cell makes of it, and the scroll bar's range.
#include <cstdint>
#include <string>

#include "ui/main_window_state.h"

namespace plaxet {

// Where an item cell sits: its row 1..12 and its column's heading id
// (kDateColumn, kDescriptionColumn or kCostColumn). Row 0 for any other id.
struct CellPlace {
    int row = 0;
    int column = 0;
};
CellPlace cellPlace(int id);

// Why the rows are shown afresh: after an edit, or after a scroll moved them.
enum class RowRefresh { AfterEdit, AfterScroll };

// Rewrites the visible rows from the record (after the screen recalculation,
// unless scrolling): dates, trimmed descriptions (computed rows pushed to
// the right), costs as money texts for counted items. What the rows show
// becomes the record's (refreshShownItems), except the blanks that push a
// computed row's label right, which depend on the screen's font. `changed`
// is left as it was; Show File and Copy File are disabled unless the rows
// only scrolled over an unchanged form.
void refreshRows(MainWindow& main, RowRefresh why = RowRefresh::AfterEdit);

// Writes a cell's text as the program's own, not as typing into the form.
void setCellText(MainWindow& main, int id, const std::string& text);

// Posted to the main window (row in wParam) after a computed row has been
// counted on leaving one of its cells.
inline constexpr UINT kSkipComputedCost = WM_APP + 2;

// Leaving a cell of the row at `place`: a computed row counts and shows its
// label pushed right, a plain row counts once its description and cost are
// both filled and its cost cell is left; then the rows are shown afresh.
// With `focusMovesOn`, a computed row's cost cell is skipped once the focus
// has arrived (kSkipComputedCost).
void leaveRowCell(MainWindow& main, CellPlace place, bool focusMovesOn);

// Counts the focused cell's item now when leaving the cell would count it.
// Run before the grid scrolls, so a complete row that scrolls away with the
// focus still in it is not left uncounted (and its cost then emptied).
void countFocusedRowBeforeScrolling(MainWindow& main);

// The scroll bar's range, page and position for the current item count.
void updateScrollBar(MainWindow& main);

// The text of a computed row's description cell: blanks in front of `text`
// so that it ends at the cell's right edge in the cell's own font.
std::string alignComputedLabel(HWND cell, const std::string& text);

} // namespace plaxet
