#include "win/tree_view.h"

#include "win/controls.h"
#include "runtime/wide.h"

namespace plaxet {
namespace {

constexpr int kItemTextLimit = 256;

} // namespace

HTREEITEM TreeAddItem(HWND form, int id, HTREEITEM parent, std::string_view text, LPARAM param,
                      UINT state) {
    if (parent && parent != TVI_ROOT) {
        TVITEMW mark{};
        mark.mask = TVIF_CHILDREN;
        mark.hItem = parent;
        mark.cChildren = 1;
        ControlSend(form, id, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&mark));
    }
    std::wstring label = toWide(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = label.data();
    insert.item.lParam = param;
    insert.item.state = state;
    insert.item.stateMask = state;
    return reinterpret_cast<HTREEITEM>(
        ControlSend(form, id, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string TreeItemText(HWND form, int id, HTREEITEM item) {
    wchar_t buffer[kItemTextLimit + 1] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = kItemTextLimit;
    if (!ControlSend(form, id, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return {};
    return fromWide(query.pszText);
}

LPARAM TreeItemParam(HWND form, int id, HTREEITEM item) {
    TVITEMW query{};
    query.mask = TVIF_PARAM;
    query.hItem = item;
    if (!ControlSend(form, id, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return 0;
    return query.lParam;
}

void TreeSetItemState(HWND form, int id, HTREEITEM item, UINT state, UINT mask) {
    TVITEMW change{};
    change.mask = TVIF_STATE;
    change.hItem = item;
    change.state = state;
    change.stateMask = mask;
    ControlSend(form, id, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
}

void TreeExpand(HWND form, int id, HTREEITEM item, bool expand) {
    ControlSend(form, id, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
                reinterpret_cast<LPARAM>(item));
}

void TreeDeleteItem(HWND form, int id, HTREEITEM item) {
    ControlSend(form, id, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TreeSelectedItem(HWND form, int id) {
    return reinterpret_cast<HTREEITEM>(ControlSend(form, id, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

} // namespace plaxet
