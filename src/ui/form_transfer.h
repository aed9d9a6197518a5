#pragma once
// Moving the form between the main window's boxes and the record. Each box
// has one entry here that serves both directions: the record's field is
// shown in the box when the form is shown, and the box's text is stored in
// the field when it changes. What the program itself writes into a box is
// not read back.
#include <string>
#include <string_view>

#include "ui/main_window_state.h"

namespace plaxet {

// The text of `box` changed by typing (or set from outside): the field of
// the record it holds takes it (the addressee lines, the form date, the
// number, the due date, the notes, a receipt's amount paid). False for a box that holds no field.
bool storeBoxText(MainWindow& main, int box);

// Shows the record's field in its box (the addressee lines, the form date,
// the number, the due date, the notes).
void showField(MainWindow& main, int box);

// The program puts `text` into `box` as the form's: its field takes it and
// the box shows it.
void putFieldText(MainWindow& main, int box, const std::string& text);

// A form just read: its fields in their boxes and its form type's button.
void showLoadedForm(MainWindow& main);

// The total's money text in the amount box: as the grey hint of an empty
// box for a receipt (the typed amount stays), as the box's text otherwise.
void showTotalInAmountBox(MainWindow& main);

// Writes a box or cell as the program's own: its change notice is no edit.
void showText(MainWindow& main, int box, std::string_view text);

} // namespace plaxet
