#include "ui/main_menus.h"

#include "ui/control_ids.h"
#include "win/menus.h"

namespace plaxet {

UniqueMenu buildMainMenuBar() {
    UniqueMenu file = MenuNew(MenuKind::Popup);
    MenuAddItem(file.get(), "&New", kNewCommand);
    MenuAddItem(file.get(), "&Open", kOpenCommand);
    MenuAddItem(file.get(), "&Save", kSaveCommand);
    MenuAddItem(file.get(), "Save&As", kSaveAsCommand);
    MenuAddItem(file.get(), "-", 0);
    MenuAddItem(file.get(), "&Create Files", kCreateFilesCommand);
    MenuAddItem(file.get(), "-", 0);
    MenuAddItem(file.get(), "&Business Details...", kBusinessDetailsCommand);
    MenuAddItem(file.get(), "-", 0);
    MenuAddItem(file.get(), "E&xit", kExitCommand);

    UniqueMenu edit = MenuNew(MenuKind::Popup);
    MenuAddItem(edit.get(), "&Clear Item", kClearItemCommand);
    MenuAddItem(edit.get(), "&Insert Item", kInsertItemCommand);
    MenuAddItem(edit.get(), "&Delete Item", kDeleteItemCommand);

    UniqueMenu help = MenuNew(MenuKind::Popup);
    MenuAddItem(help.get(), "&Contents", kHelpContentsCommand);
    MenuAddItem(help.get(), "&About", kAboutCommand);

    UniqueMenu bar = MenuNew(MenuKind::Bar);
    MenuAddSubmenu(bar.get(), "&File", std::move(file));
    MenuAddSubmenu(bar.get(), "&Edit", std::move(edit));
    MenuAddSubmenu(bar.get(), "&Help", std::move(help));
    return bar;
}

UniqueMenu buildRowPopupMenu() {
    UniqueMenu popup = MenuNew(MenuKind::Popup);
    MenuAddItem(popup.get(), "Clear item", kClearItemCommand);
    MenuAddItem(popup.get(), "Insert item", kInsertItemCommand);
    MenuAddItem(popup.get(), "Delete item", kDeleteItemCommand);
    return popup;
}

} // namespace plaxet
