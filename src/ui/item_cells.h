#pragma once
// The 36 item cells: what is typed and which cell is left goes to the grid's
// model, and the cells have keys (arrows, Enter) and a popup menu of their own.
#include <windows.h>

#include "ui/main_window_state.h"

namespace plaxet {

// Gives the cells their keys and popup menu; once, at initialisation.
void attachItemCells(MainWindow& main);

// A notification of the cell `id`: what is typed goes to the grid's model,
// and so does leaving the cell.
void onItemCellEvent(MainWindow& main, int id, int notification);

// The answer to kSkipComputedCost: when the focus has gone on to that row's
// cost cell, which a computed row fills itself, it moves one stop further.
void skipComputedCost(MainWindow& main, int row);

} // namespace plaxet
