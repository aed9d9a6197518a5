#include "ui/item_scroll.h"

#include "ui/control_ids.h"
#include "ui/item_rows.h"
#include "win/controls.h"

namespace plaxet {

void scrollItems(MainWindow& main, int request, int thumbPosition) {
    GridScrollRequest scroll{};
    switch (request) {
    case SB_LINEUP:
        scroll = GridScrollRequest::LineUp;
        break;
    case SB_LINEDOWN:
        scroll = GridScrollRequest::LineDown;
        break;
    case SB_PAGEUP:
        scroll = GridScrollRequest::PageUp;
        break;
    case SB_PAGEDOWN:
        scroll = GridScrollRequest::PageDown;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        scroll = GridScrollRequest::ToPosition;
        break;
    default:
        return;
    }
    showGrid(main, scrollGrid(main.grid, main.form, main.editor, focusedCell(main), scroll,
                              thumbPosition));
}

void scrollItemsByWheel(MainWindow& main, int wheelDelta) {
    showGrid(main, scrollByWheel(main.grid, main.form, main.editor, focusedCell(main), wheelDelta));
}

void continueBelowRow12(MainWindow& main) {
    scrollItems(main, SB_LINEDOWN);
    ControlSetFocus(main.window, kDateColumn + kVisibleRows);
}

} // namespace plaxet
