#pragma once
// The one form being edited, and the editing state that goes with it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

enum FormType : int32_t { kNoType = 0, kInvoice = 1, kReceipt = 2, kEstimate = 3 };

// "Invoice", "Receipt" or "Estimate"; empty for no or an unknown type.
std::string_view formTypeName(int32_t formType);

inline constexpr size_t kFormDateLength = 10;

struct Item {
    std::string date;
    std::string description;
    std::string cost;
};

struct FormDocument {
    // Element k holds line k + 1 of the letterhead, of the addressee.
    std::array<std::string, 6> senderLines;
    std::array<std::string, 4> addresseeLines; // name, address, city/state/zip, phone
    int32_t formType = kNoType;
    std::string formDate = std::string(kFormDateLength, ' ');

    // Item i is at index i - 1. Items 1..itemCount are the form's; entries
    // after them hold what was typed into the grid below the last item and
    // does not count yet.
    std::vector<Item> items;
    int32_t itemCount = 0;

    std::string notes;
    std::string amountPaid; // receipts only; never stored in the form file
};

enum OutputKind : int32_t { kOutputRtf = 1, kOutputHtml = 2, kOutputPdf = 3 };

struct EditorState {
    std::string currentFilePath;
    bool changed = false;
    int32_t topItem = 1;
    int32_t currentItem = 1;
    int32_t outputKind = kOutputRtf;
    bool rowRefreshInProgress = false;
};

// The form date field holds exactly ten characters: longer texts are cut,
// shorter ones padded with spaces.
void setFormDate(FormDocument& form, std::string_view text);

// Item `item` (1-based); a blank one where the record holds none.
const Item& itemAt(const FormDocument& form, int32_t item);
// Item `item` (1 or more) to be written, made blank first where the record holds none.
Item& editItem(FormDocument& form, int32_t item);

// Items 1..itemCount, never reaching past the list even when the count is off.
size_t countedItems(const FormDocument& form);

// Spaces-only or empty description and cost.
bool isBlankItem(const FormDocument& form, int32_t item);

// Makes every filled item count before the totals are formed. Items are kept
// contiguous from item 1: a blank item lying between filled ones (as Insert
// item leaves behind) is closed up, moving the later items forward, so no
// filled item is ever dropped and the count is the number of filled items.
void recountItems(FormDocument& form);

// The editing of items as the item grid's commands and cells do it. Each
// command acts on a counted item (1..itemCount) and does nothing, returning
// false, for any other number.
//   clearItem:  the item's date, description and cost are emptied; it still counts.
//   insertItem: a blank item takes its place, the later ones move one down.
//   deleteItem: the later items move one up; the count falls by one.
bool clearItem(FormDocument& form, int32_t item);
bool insertItem(FormDocument& form, int32_t item);
bool deleteItem(FormDocument& form, int32_t item);

// No items at all.
void clearItems(FormDocument& form);

// A description that makes its row a computed row when its cell is left:
// "subtotal", or anything beginning with "tax", in any letter case.
bool namesComputedRow(std::string_view description);

// What leaving a cell of `item` does to the count. A computed row counts
// whichever of its cells is left; a plain row beyond the count only when its
// cost cell is left with both description and cost filled in.
// `shownDescription` is the description as its cell holds it: the grid shows
// a computed row's label pushed right with blanks, which no longer names a
// computed row, so a row shown as computed already is left as it is.
enum class RowCompletion { None, ComputedRow, PlainRow };
RowCompletion rowCompletion(const FormDocument& form, int32_t item,
                            std::string_view shownDescription, bool costCellLeft);

// Leaving a cell of `item`: the row counts when it is complete (above), its
// description loses its outer blanks, and a row that still does not count
// keeps no cost. Returns what made the row count, if anything.
RowCompletion leaveRow(FormDocument& form, int32_t item, std::string_view shownDescription,
                       bool costCellLeft);

// Makes `item` count. A row filled further down than the first free one
// counts the blank items above it as well: counting it alone would leave it
// beyond the count. Blank items are closed up when the form is gathered.
void countThrough(FormDocument& form, int32_t item);

// Everything of a new form: addressee, items and notes emptied, type Invoice,
// no file, unchanged. The sender lines, the form date and the amount paid stay.
void resetForNewForm(FormDocument& form, EditorState& editor);

} // namespace plaxet
