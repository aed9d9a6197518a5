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

// The customer's details beyond the four addressee lines, for invoices the
// tax law accepts. Stored in the form file's extension block only when set.
struct Buyer {
    std::string country; // ISO 3166-1 two letters
    std::string postcode;
    std::string city;
    std::string street;
    std::string vatId;
    std::string reference; // the buyer's own reference (an order or case number)
    std::string email;

    bool operator==(const Buyer&) const = default;
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

    // The form's number in its series, the date payment is due and the date
    // of delivery (dates written as the form date is); empty when not set.
    std::string number;
    std::string dueDate;
    std::string deliveryDate;
    Buyer buyer;
};

// The form's file and whether the form differs from it.
struct EditorState {
    std::string currentFilePath;
    bool changed = false;
};

// The form date field holds exactly ten bytes in the code page: a longer text
// is cut after the last whole character that fits, a shorter one padded
// with spaces.
void setFormDate(FormDocument& form, std::string_view text);

// Item `item` (1-based); a blank one where the record holds none.
const Item& itemAt(const FormDocument& form, int32_t item);
// Item `item` (1 or more) to be written, made blank first where the record holds none.
Item& editItem(FormDocument& form, int32_t item);

// Items 1..itemCount, never reaching past the list even when the count is off.
size_t countedItems(const FormDocument& form);

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

// The one rule of computed rows: a description that, trimmed of spaces and
// lower-cased, is "subtotal" makes a subtotal row; one that begins with "tax"
// a tax row; anything else (blank descriptions included) is a plain row.
enum class RowKind { Plain, Subtotal, Tax };
RowKind rowKindOf(std::string_view description);

// Everything of a new form: addressee (with the customer's details), items,
// notes, number, due and delivery dates emptied, type Invoice,
// no file, unchanged. The sender lines, the form date and the amount paid stay.
void resetForNewForm(FormDocument& form, EditorState& editor);

} // namespace plaxet
