#pragma once
// The item grid's own model: which items its twelve rows show, its scroll
// state, the item the row commands act on, which computed labels it shows
// pushed right, whether a cell was typed into and the total shown beside it;
// and every rule of the grid, as functions of this record and the form. The
// window shows what the model says and hands it what is typed and pressed.
// Two things stay the window's: the keyboard focus (each action that needs
// it is told which cell has it) and the blanks that push a computed row's
// label right, which depend on the screen's font.
#include <array>
#include <cstdint>
#include <string>

#include "form/form_document.h"

namespace plaxet {

inline constexpr int kGridRows = 12;

enum class GridColumn { Date, Description, Cost };

// A cell of the grid: its row 1..12 and its column. Row 0 is no cell.
struct GridCell {
    int row = 0;
    GridColumn column = GridColumn::Date;
};

// The scroll bar's range, page and place, kept by the model rather than
// read back from the bar; its minimum is always 1.
struct GridScroll {
    int maximum = 1;
    int page = 1;
    int position = 1;
};

struct ItemGrid {
    // The item shown in the first row; row r shows item topItem + r - 1.
    int32_t topItem = 1;
    GridScroll scroll;
    // The item a row command acts on.
    int32_t currentItem = 1;
    // Set by the first edit of a cell; until then leaving a cell leaves the
    // rows as they are.
    bool cellEdited = false;
    // Per row: its description cell shows a computed row's label pushed right
    // by the program and not typed into since. As the grid keeps the form,
    // the blanks of that alignment stay on the screen, so leaving such a row
    // neither counts it nor passes over its cost cell again; a scroll shows
    // the labels anew, so they count as not yet aligned.
    std::array<bool, kGridRows> labelAligned{};
    // The total beside the grid, from the last recalculation.
    double shownTotal = 0;
};

// The item that row 1..12 shows.
int32_t itemOfRow(const ItemGrid& grid, int row);

// What a row shows of its item: the date, the description (a computed row's
// to be pushed right), and for a counted item the money text of its cost.
struct ShownRow {
    std::string date;
    std::string description;
    std::string cost;
    bool computed = false;
};
ShownRow shownRow(const ItemGrid& grid, const FormDocument& form, int row);

// What an action leaves for the window to show.
struct GridUpdate {
    bool rows = false;           // every row afresh (shownRow)
    bool total = false;          // shownTotal
    bool scrollBar = false;      // scroll
    bool documentsStale = false; // the documents made before may no longer match the form
    // A computed row counted on leaving one of its cells: its cost cell,
    // which the row fills itself, is passed over once the focus arrives there.
    int skipCostOfRow = 0;
};

// Why the rows are shown afresh: after an edit, or after a scroll moved them.
enum class GridRefresh { AfterEdit, AfterScroll };

// Shows the rows afresh and makes what they show the record's, as if typed.
// The sums give the computed rows their amounts; outside scrolling they also
// give the total. Every refresh trims the shown descriptions and takes the
// cost from every item that does not count, so a cost typed where no item
// counts is never counted, whatever moved the rows. A refresh that did not
// scroll also gives each shown counted item's cost its money text ("0.00"),
// so the totals are summed from the cents the grid shows, and marks the
// shown computed labels aligned. `changed` is left as it was. The documents
// are stale after every refresh that did not scroll, and after a scroll over
// a changed form.
GridUpdate refreshGrid(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                       GridRefresh why = GridRefresh::AfterEdit);

// A form just read, shown from its first item.
GridUpdate showFromFirstItem(ItemGrid& grid, FormDocument& form, const EditorState& editor);

// New: the form emptied (resetForNewForm) and shown from the top. Every cell
// is emptied as if typed, so the cells count as edited and no label as aligned.
GridUpdate startNewForm(ItemGrid& grid, FormDocument& form, EditorState& editor);

// Text typed into a cell (or set there by anything but the grid itself)
// becomes the item's at once; an item beyond the count is made to hold it.
void typeIntoCell(ItemGrid& grid, FormDocument& form, EditorState& editor, GridCell cell,
                  std::string text);

// Leaving a cell, once any cell has been typed into: a computed row counts
// (its label is aligned and its cost cell passed over) whichever of its cells
// is left, unless its label is aligned already; a plain row beyond the count
// counts once its cost cell is left with description and cost filled in. A
// row filled further down than the first free one counts the blank items
// above it too. Then the rows are shown afresh.
GridUpdate leaveCell(ItemGrid& grid, FormDocument& form, const EditorState& editor, GridCell cell);

// Before the rows scroll, the form is saved or its documents are made: the
// focused cell's row counts now when leaving the cell would count it, so a
// complete row is never left uncounted (and its cost then emptied).
GridUpdate countFocusedRow(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                           GridCell focused);

// A scroll by the bar: a line or a page either way, or to a position (the
// thumb dragged or dropped). The focused row is counted first (above); the
// rows move only while at least twelve items count, never above item 1, and
// going forward the last page snaps to the end so the last rows can be
// reached. Showing other items is no edit of the form.
enum class GridScrollRequest { LineUp, LineDown, PageUp, PageDown, ToPosition };
GridUpdate scrollGrid(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                      GridCell focused, GridScrollRequest request, int position = 0);

// One line per wheel event whatever its distance, up for a positive delta;
// only while more than twelve items count.
GridUpdate scrollByWheel(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                         GridCell focused, int wheelDelta);

// The Up and Down keys in a cell: to the same column of the row above or
// below, or from the first or last row a scroll by one line, the focus
// staying in its cell.
struct ArrowMove {
    GridCell to;
    GridUpdate update;
};
ArrowMove moveAcrossRows(ItemGrid& grid, FormDocument& form, const EditorState& editor,
                         GridCell from, bool down);

// The row commands on the item of `row` (1..12), which becomes the current
// item. Each acts on a counted item only; then the rows are shown afresh,
// the form is changed and the scroll range follows the new count (the rows
// stay where they were). Nothing to show when there was no item to act on.
enum class RowCommand { Clear, Insert, Delete };
GridUpdate applyRowCommand(ItemGrid& grid, FormDocument& form, EditorState& editor, int row,
                           RowCommand command);

// The popup menu of a cell in `row`: its item becomes the current one, and
// the row commands are offered only for a counted item.
bool offerRowCommands(ItemGrid& grid, const FormDocument& form, int row);

} // namespace plaxet
