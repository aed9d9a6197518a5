#pragma once
// The twelve visible rows of the item grid: showing the record's items in
// them, and the scroll bar's range.
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

// The scroll bar's range, page and position for the current item count.
void updateScrollBar(MainWindow& main);

// The text of a computed row's description cell: blanks in front of `text`
// so that it ends at the cell's right edge in the cell's own font.
std::string alignComputedLabel(HWND cell, const std::string& text);

} // namespace plaxet
