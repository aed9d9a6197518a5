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

inline constexpr int32_t kInitialItemCapacity = 100;
inline constexpr int32_t kItemCapacityStep = 100;
// The lists grow once fewer than this many blank items are left after the last one in use.
inline constexpr int32_t kItemHeadroom = 20;
inline constexpr size_t kFormDateLength = 10;

struct FormDocument {
    // Element k holds line k + 1 of the letterhead, of the addressee.
    std::array<std::string, 6> senderLines;
    std::array<std::string, 4> addresseeLines; // name, address, city/state/zip, phone
    int32_t formType = kNoType;
    std::string formDate = std::string(kFormDateLength, ' ');

    // Three parallel lists of itemCapacity entries; item i is at index i - 1.
    std::vector<std::string> itemDates = std::vector<std::string>(kInitialItemCapacity);
    std::vector<std::string> itemDescriptions = std::vector<std::string>(kInitialItemCapacity);
    std::vector<std::string> itemCosts = std::vector<std::string>(kInitialItemCapacity);
    int32_t itemCapacity = kInitialItemCapacity;
    int32_t itemCount = 0;

    std::string notes;
    std::string amountPaid; // receipts only; never stored in the form file

    // Derived by the totals computation before every use; never stored.
    double runningSubtotal = 0;
    double total = 0;
    double lastTax = 0;
    double totalRowAmount = 0;
    std::string headingWord;
    std::string totalLabel;
    std::string closingSentence;
    std::string longDate;
    std::vector<std::string> notesLines;
};

enum OutputKind : int32_t { kOutputRtf = 1, kOutputHtml = 2 };

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

// Spaces-only or empty description and cost.
bool isBlankItem(const FormDocument& form, int32_t item);

// The growth rule, applied after itemCount has been raised: while fewer than
// kItemHeadroom entries remain beyond itemCount, the lists grow by a step.
void ensureCapacity(FormDocument& form);

// Makes every filled item count before the totals are formed. Items are kept
// contiguous from item 1: a blank item lying between filled ones (as Insert
// item leaves behind) is closed up, moving the later items forward, so no
// filled item is ever dropped and the count is the number of filled items.
void compactItems(FormDocument& form);

// The item-count step of the gathering step: close gaps, then count.
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

// Every item emptied and none counted; the lists keep their capacity.
void clearItems(FormDocument& form);

// A description that makes its row a computed row when its cell is left:
// "subtotal", or anything beginning with "tax", in any letter case. Taken as
// stored, not trimmed: once the grid has stored a computed label with the
// blanks that push it right, the row has been counted and leaving it again
// changes nothing.
bool namesComputedRow(std::string_view description);

// What leaving a cell of `item` does to the count. A computed row counts
// whichever of its cells is left; a plain row beyond the count only when its
// cost cell is left with both description and cost filled in.
enum class RowCompletion { None, ComputedRow, PlainRow };
RowCompletion rowCompletion(const FormDocument& form, int32_t item, bool costCellLeft);

// Makes `item` count. A row filled further down than the first free one
// counts the blank items above it as well: counting it alone would leave it
// beyond the count. Blank items are closed up when the form is gathered.
void countThrough(FormDocument& form, int32_t item);

// Everything of a new form: addressee, items and notes emptied, type Invoice,
// no file, unchanged. The sender lines, the form date and the amount paid stay.
void resetForNewForm(FormDocument& form, EditorState& editor);

} // namespace plaxet
