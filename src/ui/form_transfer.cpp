#include "ui/form_transfer.h"

#include "win/controls.h"
#include "ui/control_ids.h"
#include "ui/form_type.h"

namespace plaxet {
namespace {

constexpr int kAddresseeBoxes[] = {kNameBox, kAddressBox, kCityBox, kPhoneBox};

} // namespace

DocumentValues gatherForm(MainWindow& main) {
    FormDocument& form = main.form;
    for (size_t k = 0; k < form.addresseeLines.size(); ++k)
        form.addresseeLines[k] = ControlGetText(main.window, kAddresseeBoxes[k]);
    form.formType = checkedFormType(main.window, form.formType);
    setFormDate(form, ControlGetText(main.window, kDateBox));
    if (form.formType == kReceipt) form.amountPaid = ControlGetText(main.window, kAmountBox);
    form.notes = ControlGetText(main.window, kNotesBox);
    recountItems(form);
    return documentValues(form);
}

void showLoadedForm(MainWindow& main) {
    const FormDocument& form = main.form;
    ControlSetText(main.window, kDateBox, form.formDate);
    for (size_t k = 0; k < form.addresseeLines.size(); ++k)
        ControlSetText(main.window, kAddresseeBoxes[k], form.addresseeLines[k]);
    for (int32_t type = kInvoice; type <= kEstimate; ++type)
        ControlSetChecked(main.window, kFormTypeButtonBase + type, type == form.formType);
}

ItemSums recalcTotals(MainWindow& main) {
    main.form.formType = checkedFormType(main.window, main.form.formType);
    ItemSums sums = screenSums(main.form);
    main.shownTotal = sums.total;
    showTotalInAmountBox(main);
    ControlSetText(main.window, kNotesBox, main.form.notes);
    return sums;
}

} // namespace plaxet
