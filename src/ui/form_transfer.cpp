#include "ui/form_transfer.h"

#include "runtime/numbers.h"
#include "ui/control_ids.h"
#include "win/controls.h"

namespace plaxet {
namespace {

constexpr int kAddresseeBoxes[] = {kNameBox, kAddressBox, kCityBox, kPhoneBox};

// A box and its field: how the field is shown, how the box's text is stored.
// The amount box shows the total (showTotalInAmountBox) and stores a
// receipt's amount paid.
struct BoxField {
    int box;
    const std::string& (*shown)(const FormDocument& form);
    void (*store)(FormDocument& form, std::string text);
};

template <size_t line> constexpr BoxField addresseeField(int box) {
    return {
        box,
        [](const FormDocument& form) -> const std::string& { return form.addresseeLines[line]; },
        [](FormDocument& form, std::string text) { form.addresseeLines[line] = std::move(text); }};
}

constexpr BoxField kBoxFields[] = {
    addresseeField<0>(kNameBox),
    addresseeField<1>(kAddressBox),
    addresseeField<2>(kCityBox),
    addresseeField<3>(kPhoneBox),
    {kDateBox, [](const FormDocument& form) -> const std::string& { return form.formDate; },
     [](FormDocument& form, std::string text) { setFormDate(form, text); }},
    {kNumberBox, [](const FormDocument& form) -> const std::string& { return form.number; },
     [](FormDocument& form, std::string text) { form.number = std::move(text); }},
    {kDueDateBox, [](const FormDocument& form) -> const std::string& { return form.dueDate; },
     [](FormDocument& form, std::string text) { form.dueDate = std::move(text); }},
    {kNotesBox, [](const FormDocument& form) -> const std::string& { return form.notes; },
     [](FormDocument& form, std::string text) { form.notes = std::move(text); }},
    {kAmountBox, nullptr,
     [](FormDocument& form, std::string text) { form.amountPaid = std::move(text); }},
};

const BoxField* fieldOf(int box) {
    for (const BoxField& field : kBoxFields)
        if (field.box == box) return &field;
    return nullptr;
}

} // namespace

void showText(MainWindow& main, int box, std::string_view text) {
    const RaisedFlag writing(main.writingBoxes);
    ControlSetText(main.window, box, text);
}

bool storeBoxText(MainWindow& main, int box) {
    const BoxField* field = fieldOf(box);
    if (!field) return false;
    field->store(main.form, ControlGetText(main.window, box));
    return true;
}

void showField(MainWindow& main, int box) {
    const BoxField* field = fieldOf(box);
    if (field && field->shown) showText(main, box, field->shown(main.form));
}

void putFieldText(MainWindow& main, int box, const std::string& text) {
    const BoxField* field = fieldOf(box);
    if (!field) return;
    field->store(main.form, text);
    showText(main, box, text);
}

void showLoadedForm(MainWindow& main) {
    showField(main, kDateBox);
    showField(main, kNumberBox);
    showField(main, kDueDateBox);
    for (int box : kAddresseeBoxes) showField(main, box);
    showField(main, kNotesBox);
    for (int32_t type = kInvoice; type <= kEstimate; ++type)
        ControlSetChecked(main.window, kFormTypeButtonBase + type, type == main.form.formType);
}

void showTotalInAmountBox(MainWindow& main) {
    const std::string total = Format(main.grid.shownTotal);
    if (main.form.formType == kReceipt) {
        TextBoxSetHint(main.window, kAmountBox, total); // the typed amount stays
        return;
    }
    showText(main, kAmountBox, total);
}

} // namespace plaxet
