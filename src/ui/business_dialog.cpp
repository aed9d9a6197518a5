#include "ui/business_dialog.h"

#include <span>
#include <string>
#include <vector>

#include "win/controls.h"
#include "win/forms.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

constexpr DWORD kBoxStyle = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr const char* kTitle = "Business Details";

// One box of the dialog: what it is called on its label and in messages,
// the key by which businessDetailsProblems names it, and where its text
// lives in the record (a member, or a form type's number pattern).
struct Box {
    int id;
    const char* label;
    const char* problemKey;
    std::string BusinessDetails::*text = nullptr;
    int pattern = -1; // index into BusinessDetails::numbers
    const char* hint = "";
};

constexpr Box kAddressBoxes[] = {
    {kBusinessNameBox, "Legal name", "\"name\"", &BusinessDetails::name},
    {kBusinessStreetBox, "Street", "\"street\"", &BusinessDetails::street},
    {kBusinessPostcodeBox, "Postcode", "\"postcode\"", &BusinessDetails::postcode},
    {kBusinessCityBox, "City", "\"city\"", &BusinessDetails::city},
    {kBusinessCountryBox, "Country", "\"country\"", &BusinessDetails::country, -1,
     "two capitals, as DE"},
};
constexpr Box kContactBoxes[] = {
    {kBusinessEmailBox, "E-mail", "\"email\"", &BusinessDetails::email},
    {kBusinessPhoneBox, "Phone", "\"phone\"", &BusinessDetails::phone},
    {kBusinessContactBox, "Contact", "\"contact\"", &BusinessDetails::contact},
};
constexpr Box kPatternBoxes[] = {
    {kInvoicePatternBox, "Invoice", "\"numbers\": \"invoice\"", nullptr, 0},
    {kReceiptPatternBox, "Receipt", "\"numbers\": \"receipt\"", nullptr, 1},
    {kEstimatePatternBox, "Estimate", "\"numbers\": \"estimate\"", nullptr, 2},
};
constexpr Box kTaxBoxes[] = {
    {kBusinessVatIdBox, "VAT ID", "\"vatId\"", &BusinessDetails::vatId},
    {kBusinessTaxNumberBox, "Tax number", "\"taxNumber\"", &BusinessDetails::taxNumber},
    {kBusinessSellerIdBox, "Seller ID", "\"sellerId\"", &BusinessDetails::sellerId},
};
constexpr Box kExemptionBox = {kExemptionReasonBox, "Exemption sentence", "\"exemptionReason\"",
                               &BusinessDetails::exemptionReason};
constexpr Box kPaymentBoxes[] = {
    {kBusinessIbanBox, "IBAN", "\"iban\"", &BusinessDetails::iban},
    {kBusinessBicBox, "BIC", "\"bic\"", &BusinessDetails::bic},
    {kBusinessCurrencyBox, "Currency", "\"currency\"", &BusinessDetails::currency, -1,
     "three capitals, as EUR"},
    {kPaymentDaysBox, "Payment days", "\"paymentDays\"", nullptr, -1, "whole days, as 14"},
    {kPaymentTermsBox, "Payment terms", "\"paymentTerms\"", &BusinessDetails::paymentTerms},
};
// Every box in a row of its own but the exemption sentence, which sits
// below the option buttons.
constexpr std::span<const Box> kBoxGroups[] = {kAddressBoxes, kContactBoxes, kPatternBoxes,
                                               kTaxBoxes, kPaymentBoxes};
// The vat key is chosen with the option buttons; its problems point there.
constexpr Box kVatChoice = {kVatStandardButton, "VAT", "\"vat\""};

constexpr const char* kPatternHint =
    "{YYYY} the year, {YY} its last two digits, {MM} the month, {####} the counter "
    "with at least that many digits; empty: not numbered.";

// The layout, in layout pixels: two columns of groups, a label and a box per row.
constexpr int kMargin = 10;
constexpr int kColumnWidth = 350;
constexpr int kLeftColumn = kMargin;
constexpr int kRightColumn = kMargin + kColumnWidth + kMargin;
constexpr int kGroupGap = 8;
constexpr int kFirstRow = 22; // below the group's caption
constexpr int kRowPitch = 26;
constexpr int kBoxHeight = 20;
constexpr int kGroupBottom = 10;
constexpr int kLabelWidth = 118;
constexpr int kBoxLeft = 128; // from the group's left edge
constexpr int kBoxWidth = kColumnWidth - kBoxLeft - kMargin;
constexpr int kHintHeight = 42;
constexpr int kButtonWidth = 85;
constexpr int kButtonHeight = 30;

constexpr int groupHeight(int rows, int extra = 0) {
    return kFirstRow + rows * kRowPitch - (kRowPitch - kBoxHeight) + extra + kGroupBottom;
}
// The left column is the taller: address, contact, and the number patterns
// with their hint.
constexpr int kColumnsBottom =
    kMargin + groupHeight(5) + kGroupGap + groupHeight(3) + kGroupGap + groupHeight(3, kHintHeight);
constexpr int kClientWidth = kRightColumn + kColumnWidth + kMargin;
constexpr int kClientHeight = kColumnsBottom + kMargin;

std::string textOf(const BusinessDetails& details, const Box& box) {
    if (box.text) return details.*box.text;
    if (box.pattern >= 0) return details.numbers[static_cast<size_t>(box.pattern)];
    if (box.id == kPaymentDaysBox && details.paymentDays)
        return std::to_string(*details.paymentDays);
    return {};
}

void addRow(HWND dialog, int groupX, int y, const Box& box, const BusinessDetails& details) {
    const std::string label = std::string(box.label) + ":";
    ControlAdd(dialog, {ControlKind::Label, kNoId, label, groupX + kMargin, y + 3, kLabelWidth, 16,
                        SS_LEFT | SS_NOPREFIX | WS_GROUP, 0});
    ControlAdd(dialog, {ControlKind::TextBox, box.id, textOf(details, box), groupX + kBoxLeft, y,
                        kBoxWidth, kBoxHeight, kBoxStyle, WS_EX_CLIENTEDGE});
    if (*box.hint) TextBoxSetHint(dialog, box.id, box.hint);
}

// A group of rows; returns the y below it.
int addGroup(HWND dialog, int x, int y, const char* caption, std::span<const Box> boxes,
             const BusinessDetails& details, int extra = 0) {
    const int height = groupHeight(static_cast<int>(boxes.size()), extra);
    ControlAdd(dialog, {ControlKind::GroupBox, kNoId, caption, x, y, kColumnWidth, height,
                        kDefaultStyle, 0});
    int row = y + kFirstRow;
    for (const Box& box : boxes) {
        addRow(dialog, x, row, box, details);
        row += kRowPitch;
    }
    return y + height + kGroupGap;
}

// Which option button shows the vat kind: none for a kind this version
// does not know, so that it is kept unless the user chooses one.
int vatButtonFor(const std::string& vat) {
    if (vat.empty() || vat == "standard") return kVatStandardButton;
    if (vat == "exempt") return kVatExemptButton;
    return 0;
}

int addTaxGroup(HWND dialog, int x, int y, const BusinessDetails& details) {
    ControlAdd(dialog, {ControlKind::GroupBox, kNoId, "Tax", x, y, kColumnWidth, groupHeight(5),
                        kDefaultStyle, 0});
    int row = y + kFirstRow;
    for (const Box& box : kTaxBoxes) {
        addRow(dialog, x, row, box, details);
        row += kRowPitch;
    }
    const int half = (kColumnWidth - 2 * kMargin) / 2;
    ControlAdd(dialog, {ControlKind::OptionButton, kVatStandardButton, "Charges VAT", x + kMargin,
                        row + 2, half, 16, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0});
    ControlAdd(dialog, {ControlKind::OptionButton, kVatExemptButton, "Exempt from VAT",
                        x + kMargin + half, row + 2, half, 16, BS_AUTORADIOBUTTON, 0});
    if (const int chosen = vatButtonFor(details.vat))
        OptionSelect(dialog, kVatStandardButton, kVatExemptButton, chosen);
    row += kRowPitch;
    addRow(dialog, x, row, kExemptionBox, details);
    return y + groupHeight(5) + kGroupGap;
}

void addControls(HWND dialog, const BusinessDetails& details) {
    int left = kMargin;
    left = addGroup(dialog, kLeftColumn, left, "Business", kAddressBoxes, details);
    left = addGroup(dialog, kLeftColumn, left, "Contact", kContactBoxes, details);
    const int numbersTop = left;
    addGroup(dialog, kLeftColumn, left, "Document numbers", kPatternBoxes, details, kHintHeight);
    const int hintTop = numbersTop + kFirstRow + 3 * kRowPitch;
    ControlAdd(dialog, {ControlKind::Label, kNoId, kPatternHint, kLeftColumn + kMargin, hintTop,
                        kColumnWidth - 2 * kMargin, kHintHeight, SS_LEFT | SS_NOPREFIX, 0});

    const int paymentTop = addTaxGroup(dialog, kRightColumn, kMargin, details);
    addGroup(dialog, kRightColumn, paymentTop, "Payment", kPaymentBoxes, details);

    const int buttonsTop = kColumnsBottom - kButtonHeight;
    const int cancelLeft = kRightColumn + kColumnWidth - kButtonWidth;
    ControlAdd(dialog, {ControlKind::PushButton, IDOK, "Ok", cancelLeft - kMargin - kButtonWidth,
                        buttonsTop, kButtonWidth, kButtonHeight, BS_DEFPUSHBUTTON | WS_TABSTOP, 0});
    ControlAdd(dialog, {ControlKind::PushButton, IDCANCEL, "Cancel", cancelLeft, buttonsTop,
                        kButtonWidth, kButtonHeight, kDefaultStyle, 0});
}

// A problem as the user reads it: the box's name in place of the key.
struct Problem {
    int box;
    std::string text;
};

Problem problemInDialogTerms(const std::string& problem) {
    const auto named = [&problem](const Box& box) -> std::optional<Problem> {
        const std::string prefix = std::string(box.problemKey) + ": ";
        if (!problem.starts_with(prefix)) return std::nullopt;
        const std::string name =
            box.pattern >= 0 ? std::string(box.label) + " number pattern" : box.label;
        return Problem{box.id, name + ": " + problem.substr(prefix.size())};
    };
    for (const std::span<const Box> group : kBoxGroups)
        for (const Box& box : group)
            if (std::optional<Problem> found = named(box)) return *found;
    for (const Box& box : {kExemptionBox, kVatChoice})
        if (std::optional<Problem> found = named(box)) return *found;
    return {0, problem};
}

// The details as the dialog shows them, on top of those it was given (so
// keys it does not show are kept), and what is wrong with them.
BusinessDetails typedDetails(HWND dialog, const BusinessDetails& given,
                             std::vector<Problem>& problems) {
    BusinessDetails typed = given;
    for (const std::span<const Box> group : kBoxGroups)
        for (const Box& box : group) {
            if (box.text) typed.*box.text = ControlGetText(dialog, box.id);
            if (box.pattern >= 0)
                typed.numbers[static_cast<size_t>(box.pattern)] = ControlGetText(dialog, box.id);
        }
    typed.exemptionReason = ControlGetText(dialog, kExemptionReasonBox);
    if (ControlIsChecked(dialog, kVatExemptButton))
        typed.vat = "exempt";
    else if (ControlIsChecked(dialog, kVatStandardButton))
        typed.vat = given.vat.empty() ? "" : "standard"; // a file without the key stays so

    problems.clear();
    const std::string days = ControlGetText(dialog, kPaymentDaysBox);
    if (!readPaymentDays(days, typed.paymentDays)) {
        typed.paymentDays.reset(); // said here; the record's own check would only repeat it
        problems.push_back({kPaymentDaysBox, "Payment days: \"" + days +
                                                 "\" is not a whole number of days (digits "
                                                 "only, 0 or more)"});
    }
    for (const std::string& problem : businessDetailsProblems(typed))
        problems.push_back(problemInDialogTerms(problem));
    return typed;
}

void sayProblems(HWND dialog, const std::vector<Problem>& problems) {
    std::string text = "Please correct these details:\r\n";
    for (const Problem& problem : problems) text += "\r\n" + problem.text;
    MessageBox(text, kTitle, MB_OK | MB_ICONEXCLAMATION);
    if (problems.front().box != 0) ControlSetFocus(dialog, problems.front().box);
}

} // namespace

std::optional<BusinessDetails> askBusinessDetails(HWND owner, const BusinessDetails& details) {
    HWND dialog = FormNew(modalDialogLayout(owner, kTitle, kClientWidth, kClientHeight));
    if (!dialog) return std::nullopt;
    addControls(dialog, details);
    std::optional<BusinessDetails> answer;
    FormShowModal(dialog, [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        if (message != WM_COMMAND) return 0;
        switch (LOWORD(wParam)) {
        case IDOK: {
            std::vector<Problem> problems;
            BusinessDetails typed = typedDetails(window, details, problems);
            if (!problems.empty()) {
                sayProblems(window, problems);
                return 1;
            }
            answer = std::move(typed);
            FormEnd(window, IDOK);
            return 1;
        }
        case IDCANCEL:
            FormEnd(window, IDCANCEL);
            return 1;
        default:
            return 0;
        }
    });
    return answer;
}

} // namespace plaxet
