#pragma once
// What a form gets from the business details once its checks have passed and
// before its documents are made, the same for the window and plaxet-cli: the
// due date from the payment days with the checks of the invoice dates, and
// the form's number, the next of its series or the one the user typed,
// recorded for this form file. Only the question about a number printed on
// another form is the caller's: the window asks the user, plaxet-cli says no.
#include "form/business_details.h"
#include "form/form_document.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plaxet {

// The due date and its checks: an empty due date is filled from the payment
// days, then what is wrong with the due and delivery dates is told. The
// form date counts as the form's checks accept it (3/5/2024 for 03/05/2024),
// though the record keeps it as it stands.
struct DatingResult {
    std::string problem; // empty when the dates are right
    bool filled = false; // the due date was empty and was filled
};
DatingResult dateForm(FormDocument& form, std::optional<int32_t> paymentDays);

// Asked when the number the form carries was printed on `otherForm`: true
// to print it on this form too.
using AskNumberAgain = std::function<bool(const std::string& number, const std::string& otherForm)>;

enum class NumberingStatus {
    Ok,       // numbered (or a form type the details do not number)
    Declined, // the number is another form's and is not to be used again
    Failed,   // the counter file could not be read, written or locked
};

struct NumberingResult {
    NumberingStatus status = NumberingStatus::Ok;
    bool taken = false;  // an empty number got the next of its series
    std::string usedBy;  // Declined: the form that has the number
    std::string message; // Failed: names the file and what is wrong
};

// Numbers the form for its file `formPath`, with the counters beside
// `businessPath`, when `details` give its form type a pattern. An empty
// number takes the next of its series for the form date's year and month;
// a number the form carries is claimed, and when the record gives it to
// another form, `askAgain` decides. The form must have passed its checks
// (its form date is a date).
NumberingResult numberForm(FormDocument& form, const BusinessDetails& details,
                           const std::string& businessPath, const std::string& formPath,
                           const AskNumberAgain& askAgain);

// The refusal of business details that have problems: the file, then each
// problem on a line of its own (lines end in CR LF, as the messages of
// Create Files do); empty without problems.
std::string businessDetailsRefusal(const std::string& businessPath,
                                   const std::vector<std::string>& problems);

} // namespace plaxet
