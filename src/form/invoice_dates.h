#pragma once
// The dates of an invoice beyond the form date: the form date read as a
// calendar date (for the number's year and month), and the due date made
// from the payment days.
#include "form/form_document.h"
#include "runtime/calendar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

// A date as the form keeps it once checked, mm/dd/yyyy (blanks around it
// allowed), that names a real day of the calendar; nothing otherwise.
std::optional<CivilDate> parseFormDate(std::string_view text);
// mm/dd/yyyy.
std::string formDateText(CivilDate date);
// The date `days` days later (earlier for a negative count).
CivilDate addDays(CivilDate date, int32_t days);

// Fills an empty due date with the form date plus `paymentDays`; a due date
// already there, one typed included, is kept as it is. True when it filled
// one; false without payment days or a form date that is a date.
bool fillDueDate(FormDocument& form, std::optional<int32_t> paymentDays);

// What is wrong with the form's due and delivery dates, or nothing: a date
// set but not a date mm/dd/yyyy, or a due date before the form date.
std::string invoiceDatesProblem(const FormDocument& form);

} // namespace plaxet
