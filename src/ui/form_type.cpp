#include "ui/form_type.h"

#include "runtime/paths.h"
#include "runtime/wide.h"
#include "ui/control_ids.h"
#include "ui/form_transfer.h"
#include "ui/main_window_layout.h"
#include "win/controls.h"

namespace plaxet {
namespace {

std::string amountLabel(int32_t formType) {
    switch (formType) {
    case kReceipt:
        return "Amount Paid:";
    case kEstimate:
        return "Estimated Total:";
    default:
        return "Amount due:";
    }
}

// The amount box is made again for every type; it goes back to its place in
// the tab order, right after its label, as if it had been created there.
void replaceAmountBox(HWND window, int32_t formType) {
    ControlKill(window, kAmountBox);
    HWND box = ControlAdd(window, amountBoxDef(formType));
    SetWindowPos(box, ControlWindow(window, kAmountLabel), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

std::string formTypeTitle(int32_t formType, const std::string& currentFilePath) {
    if (currentFilePath.empty()) return "Plaxet - " + std::string(formTypeName(formType));
    return std::string(formTypeName(formType)) + " - " +
           fileNamePart(currentFilePath, kWindowsPaths);
}

void applyFormType(MainWindow& main, int32_t formType) {
    if (formType < kInvoice || formType > kEstimate) return;
    main.form.formType = formType;
    SetWindowTextW(main.window,
                   toWide(formTypeTitle(formType, main.editor.currentFilePath)).c_str());
    replaceAmountBox(main.window, formType);
    // A receipt's amount paid is what its new, empty box holds.
    if (formType == kReceipt) main.form.amountPaid.clear();
    ControlSetText(main.window, kAmountLabel, amountLabel(formType));
    if (main.grid.shownTotal != 0) showTotalInAmountBox(main);
}

} // namespace plaxet
