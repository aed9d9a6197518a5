#pragma once
// Scrolling the item grid by the scroll bar, the mouse wheel and the
// invisible button after row 12; the grid's model says where the rows go.
#include "ui/main_window_state.h"

namespace plaxet {

// One scroll-bar request (SB_LINEDOWN, SB_PAGEUP, SB_THUMBTRACK, ...) with
// the thumb position it carries. Only while at least twelve items count;
// any other request is ignored.
void scrollItems(MainWindow& main, int request, int thumbPosition = 0);

// One line per wheel event whatever its distance, up for a positive delta;
// only while more than twelve items count.
void scrollItemsByWheel(MainWindow& main, int wheelDelta);

// The invisible button after row 12 got the focus (Tab out of row 12, or
// Shift+Tab from the notes): one line down, then on into row 12's date cell.
void continueBelowRow12(MainWindow& main);

} // namespace plaxet
