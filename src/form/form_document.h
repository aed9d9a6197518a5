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

// Everything of a new form: addressee, items and notes emptied, type Invoice,
// no file, unchanged. The sender lines, the form date and the amount paid stay.
void resetForNewForm(FormDocument& form, EditorState& editor);

} // namespace plaxet
