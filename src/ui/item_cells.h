#pragma once
// The 36 item cells: what is typed goes straight into the item lists, an
// item starts to count once its row is complete, and the cells have keys
// (arrows, Enter) and a popup menu of their own.
#include <windows.h>

#include "ui/main_window_state.h"

namespace plaxet {

// Posted to the main window (row in wParam) after a computed row has been
// counted on leaving one of its cells.
inline constexpr UINT kSkipComputedCost = WM_APP + 2;

// Gives the cells their keys and popup menu; once, at initialisation.
void attachItemCells(MainWindow& main);

// A notification of the cell `id`. False when it was ignored because a
// scroll is rewriting the rows.
bool onItemCellEvent(MainWindow& main, int id, int notification);

// Counts the focused cell's item now when leaving the cell would count it.
// Run before the grid scrolls, so a complete row that scrolls away with the
// focus still in it is not left uncounted (and its cost then emptied).
void countFocusedRowBeforeScrolling(MainWindow& main);

// The answer to kSkipComputedCost: when the focus has gone on to that row's
// cost cell, which a computed row fills itself, it moves one stop further.
void skipComputedCost(MainWindow& main, int row);

} // namespace plaxet
