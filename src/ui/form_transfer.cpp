#include "ui/form_transfer.h"

#include <string>

#include "win/controls.h"
#include "ui/control_ids.h"
#include "ui/form_type.h"

namespace plaxet {
namespace {

constexpr int kAddresseeBoxes[] = {kNameBox, kAddressBox, kCityBox, kPhoneBox};

// The one way from a box into the record.
struct BoxField {
    int box;
    void (*store)(FormDocument& form, std::string text);
};

constexpr BoxField kBoxFields[] = {
    {kNameBox,
     [](FormDocument& form, std::string text) { form.addresseeLines[0] = std::move(text); }},
    {kAddressBox,
     [](FormDocument& form, std::string text) { form.addresseeLines[1] = std::move(text); }},
    {kCityBox,
     [](FormDocument& form, std::string text) { form.addresseeLines[2] = std::move(text); }},
    {kPhoneBox,
     [](FormDocument& form, std::string text) { form.addresseeLines[3] = std::move(text); }},
    {kDateBox, [](FormDocument& form, std::string text) { setFormDate(form, text); }},
    {kNotesBox, [](FormDocument& form, std::string text) { form.notes = std::move(text); }},
    {kAmountBox, [](FormDocument& form, std::string text) { form.amountPaid = std::move(text); }},
};

} // namespace

bool storeBoxText(MainWindow& main, int box) {
    for (const BoxField& field : kBoxFields) {
        if (field.box != box) continue;
        field.store(main.form, ControlGetText(main.window, box));
        return true;
    }
    return false;
}

DocumentValues gatherForm(MainWindow& main) {
    recountItems(main.form);
    return documentValues(main.form);
}

namespace {

// A box that holds only what fits its width may take less than it is given;
// the record keeps what the box shows, also where the box reported no change
// (during the initialisation nothing reports).
void showInBox(MainWindow& main, int box, const std::string& text) {
    ControlSetText(main.window, box, text);
    storeBoxText(main, box);
}

} // namespace

void showLoadedForm(MainWindow& main) {
    showInBox(main, kDateBox, main.form.formDate);
    for (size_t k = 0; k < main.form.addresseeLines.size(); ++k)
        showInBox(main, kAddresseeBoxes[k], main.form.addresseeLines[k]);
    for (int32_t type = kInvoice; type <= kEstimate; ++type)
        ControlSetChecked(main.window, kFormTypeButtonBase + type, type == main.form.formType);
}

ItemSums recalcTotals(MainWindow& main) {
    ItemSums sums = screenSums(main.form);
    main.shownTotal = sums.total;
    showTotalInAmountBox(main);
    showInBox(main, kNotesBox, main.form.notes);
    return sums;
}

} // namespace plaxet
