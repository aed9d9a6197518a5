#pragma once
// Moving the form between the main window and the record: gathering the
// window's boxes into the record, showing a loaded record, and the screen
// recalculation of the totals.
#include "output/totals.h"
#include "ui/main_window.h"

namespace plaxet {

// Copies the addressee boxes, the checked form type, the date box, a
// receipt's amount paid and the notes into the record, then closes gaps in
// the items and counts them. Returns the documents' values of the gathered form.
DocumentValues gatherForm(MainWindow& main);

// Puts a record just read from a form file into the date box, the addressee
// boxes and the form-type buttons (all clear for a type outside 1..3).
void showLoadedForm(MainWindow& main);

// The recalculation while the user edits: the form type from the buttons,
// the total in the amount box and the notes box rewritten from the record.
// Returns the sums, whose computed rows' texts the grid shows.
ItemSums recalcTotals(MainWindow& main);

} // namespace plaxet
