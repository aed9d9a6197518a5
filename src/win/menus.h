#pragma once
// Menu bars, popup menus and their items.
#include <windows.h>

#include <string_view>

#include "win/handles.h"

namespace plaxet {

enum class MenuKind { Bar, Popup };

UniqueMenu MenuNew(MenuKind kind);
// Appends an item with a command id; the text "-" alone makes a separator.
void MenuAddItem(HMENU menu, std::string_view text, UINT commandId);
// Appends a sub-menu, which the parent menu owns from then on.
void MenuAddSubmenu(HMENU menu, std::string_view text, UniqueMenu submenu);
// Gives the menu bar to the form (the window destroys it with itself).
void MenuAttach(HWND form, UniqueMenu bar);

} // namespace plaxet
