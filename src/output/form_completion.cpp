#include "output/form_completion.h"

#include "form/invoice_dates.h"
#include "form/numbering.h"
#include "output/dates.h"

namespace plaxet {
namespace {

// The form date as the form's checks read it.
std::optional<CivilDate> checkedFormDate(const FormDocument& form) {
    std::string date = form.formDate;
    if (validateDate(date) != 0) return std::nullopt;
    return parseFormDate(date);
}

} // namespace

DatingResult dateForm(FormDocument& form, std::optional<int32_t> paymentDays) {
    // The rules read the form date as mm/dd/yyyy; a copy holds it so, and
    // only the due date goes back into the record.
    FormDocument dated = form;
    validateDate(dated.formDate);
    DatingResult result;
    if (fillDueDate(dated, paymentDays)) {
        form.dueDate = dated.dueDate;
        result.filled = true;
    }
    result.problem = invoiceDatesProblem(dated);
    return result;
}

NumberingResult numberForm(FormDocument& form, const BusinessDetails& details,
                           const std::string& businessPath, const std::string& formPath,
                           const AskNumberAgain& askAgain) {
    NumberingResult result;
    const std::string& pattern = numberPatternFor(details, form.formType);
    if (pattern.empty()) return result;
    const std::string numbersPath = numbersFileBeside(businessPath);
    if (form.number.empty()) {
        const std::optional<CivilDate> date = checkedFormDate(form);
        if (!date) {
            result.status = NumberingStatus::Failed;
            result.message = "The form date is not a date mm/dd/yyyy, so the form has no series "
                             "to take its number from.";
            return result;
        }
        const NumberResult taken =
            takeNextNumber(numbersPath, form.formType, pattern, *date, formPath);
        if (!taken.ok) {
            result.status = NumberingStatus::Failed;
            result.message = taken.error;
            return result;
        }
        form.number = taken.number;
        result.taken = true;
        return result;
    }
    NumberResult claimed = claimNumber(numbersPath, form.formType, form.number, formPath);
    if (!claimed.ok && !claimed.usedBy.empty()) {
        if (!askAgain || !askAgain(form.number, claimed.usedBy)) {
            result.status = NumberingStatus::Declined;
            result.usedBy = claimed.usedBy;
            return result;
        }
        claimed = claimNumber(numbersPath, form.formType, form.number, formPath, true);
    }
    if (!claimed.ok) {
        result.status = NumberingStatus::Failed;
        result.message = claimed.error;
    }
    return result;
}

std::string businessDetailsRefusal(const std::string& businessPath,
                                   const std::vector<std::string>& problems) {
    if (problems.empty()) return {};
    std::string message = businessPath + " cannot be used:";
    for (const std::string& problem : problems) message += "\r\n  " + problem;
    return message;
}

} // namespace plaxet
