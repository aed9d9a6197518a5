#include "win/menus.h"

#include <string>

#include "runtime/wide.h"

namespace plaxet {
namespace {

void appendItem(HMENU menu, MENUITEMINFOW& item) {
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

} // namespace

UniqueMenu MenuNew(MenuKind kind) {
    return UniqueMenu(kind == MenuKind::Bar ? CreateMenu() : CreatePopupMenu());
}

void MenuAddItem(HMENU menu, std::string_view text, UINT commandId) {
    if (!menu) return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    if (text == "-") {
        item.fMask = MIIM_FTYPE;
        item.fType = MFT_SEPARATOR;
        appendItem(menu, item);
        return;
    }
    std::wstring label = toWide(text);
    item.fMask = MIIM_STRING | MIIM_ID;
    item.wID = commandId;
    item.dwTypeData = label.data();
    appendItem(menu, item);
}

void MenuAddSubmenu(HMENU menu, std::string_view text, UniqueMenu submenu) {
    if (!menu || !submenu) return;
    std::wstring label = toWide(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_SUBMENU;
    item.hSubMenu = submenu.release();
    item.dwTypeData = label.data();
    appendItem(menu, item);
}

void MenuAttach(HWND form, UniqueMenu bar) {
    if (!IsWindow(form) || !bar) return;
    if (SetMenu(form, bar.get())) bar.release();
    DrawMenuBar(form);
}

} // namespace plaxet
