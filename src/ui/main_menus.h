#pragma once
// The main window's menu bar and the item cells' popup menu.
#include "win/handles.h"

namespace plaxet {

UniqueMenu buildMainMenuBar();
UniqueMenu buildRowPopupMenu();

} // namespace plaxet
