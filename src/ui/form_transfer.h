#pragma once
// Moving the form between the main window and the record: each box writes
// its field as its text changes, a loaded record is shown, the items are
// counted before a save, and the totals are recalculated on the screen.
#include "output/totals.h"
#include "ui/main_window_state.h"

namespace plaxet {

// Writes the text of `box` into the field of the record it holds (the
// addressee lines, the form date, the notes, a receipt's amount paid), as it
// changes. False for a box that holds no field.
bool storeBoxText(MainWindow& main, int box);

// What the record lacks before it is saved: blank items between filled ones
// are closed up and the items counted. Returns the documents' values.
DocumentValues gatherForm(MainWindow& main);

// Puts a record just read from a form file into the date box, the addressee
// boxes and the form-type buttons (all clear for a type outside 1..3).
void showLoadedForm(MainWindow& main);

// The recalculation while the user edits: the total in the amount box and
// the notes box rewritten from the record. Returns the sums, whose computed
// rows' texts the grid shows.
ItemSums recalcTotals(MainWindow& main);

} // namespace plaxet
