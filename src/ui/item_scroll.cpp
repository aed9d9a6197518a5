#include "ui/item_scroll.h"

#include <algorithm>

#include "win/controls.h"
#include "ui/control_ids.h"
#include "ui/item_rows.h"

namespace plaxet {

void scrollItems(MainWindow& main, int request, int thumbPosition) {
    const bool forward = request == SB_LINEDOWN || request == SB_PAGEDOWN ||
                         request == SB_THUMBTRACK || request == SB_THUMBPOSITION;
    const bool backward = request == SB_LINEUP || request == SB_PAGEUP;
    if (!forward && !backward) return;
    countFocusedRowBeforeScrolling(main);
    if (main.form.itemCount < kVisibleRows) return;

    ItemScroll& scroll = main.scroll;
    int position = scroll.position;
    switch (request) {
    case SB_LINEDOWN:
        position += 1;
        break;
    case SB_PAGEDOWN:
        position += scroll.page;
        break;
    case SB_LINEUP:
        position -= 1;
        break;
    case SB_PAGEUP:
        position -= scroll.page;
        break;
    default:
        position = thumbPosition;
        break;
    }
    position = std::max(position, 1);
    // The bar stops its thumb a page short of the maximum; going forward,
    // the last page snaps to the end so the last rows can be reached.
    if (forward && position + scroll.page > scroll.maximum) position = scroll.maximum;
    scroll.position = position;

    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE | SIF_POS;
    info.nPage = static_cast<UINT>(scroll.page);
    info.nPos = position;
    SetScrollInfo(ControlWindow(main.window, kItemScrollBar), SB_CTL, &info, TRUE);

    main.topItem = position;
    // Showing other items is no edit of the form.
    refreshRows(main, RowRefresh::AfterScroll);
}

void scrollItemsByWheel(MainWindow& main, int wheelDelta) {
    if (main.form.itemCount <= kVisibleRows) return;
    scrollItems(main, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void continueBelowRow12(MainWindow& main) {
    scrollItems(main, SB_LINEDOWN);
    ControlSetFocus(main.window, kDateColumn + kVisibleRows);
}

} // namespace plaxet
