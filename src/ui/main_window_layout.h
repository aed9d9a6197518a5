#pragma once
// The main window's layout: every control with its id, kind, text, place,
// size and style, in creation (and so tab) order. Pixels of the client area.
#include <cstdint>
#include <vector>

#include "win/controls.h"

namespace plaxet {

inline constexpr int kMainClientWidth = 575;
inline constexpr int kMainClientHeight = 640;

std::vector<ControlDef> mainWindowLayout();

// The amount box as each form type wants it: left-aligned and read-only
// before a type is chosen, right-aligned and read-only for invoices and
// estimates, right-aligned and editable for receipts.
ControlDef amountBoxDef(int32_t formType);

} // namespace plaxet
