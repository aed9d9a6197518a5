#pragma once
// Operations on a tree view control of a form.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

namespace plaxet {

// Adds an item at the end of `parent`'s children (TVI_ROOT for the top
// level); the parent is marked as having children first.
HTREEITEM TreeAddItem(HWND form, int id, HTREEITEM parent, std::string_view text, LPARAM param,
                      UINT state = 0);
std::string TreeItemText(HWND form, int id, HTREEITEM item); // up to 256 characters
LPARAM TreeItemParam(HWND form, int id, HTREEITEM item);
// Sets the bits of `state` selected by `mask` (for example TVIS_BOLD).
void TreeSetItemState(HWND form, int id, HTREEITEM item, UINT state, UINT mask);
void TreeExpand(HWND form, int id, HTREEITEM item, bool expand);
void TreeDeleteItem(HWND form, int id, HTREEITEM item);
HTREEITEM TreeSelectedItem(HWND form, int id);

} // namespace plaxet
