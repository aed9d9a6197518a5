#pragma once
// The form-type switch and what hangs on the form type: the window title,
// the amount box and its label.
#include <cstdint>
#include <string>

#include "ui/main_window_state.h"

namespace plaxet {

// The title after a form type is chosen: the type word, " - " and the file
// name when the form has a file, "Plaxet - " and the type word when not.
std::string formTypeTitle(int32_t formType, const std::string& currentFilePath);

// Invoice, Receipt or Estimate chosen (1, 2 or 3): sets the form type, the
// title, a new empty amount box and its label, and shows the total in it.
void applyFormType(MainWindow& main, int32_t formType);

} // namespace plaxet
