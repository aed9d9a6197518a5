#include "form/invoice_dates.h"

#include "runtime/text.h"

#include <cstdio>

namespace plaxet {
namespace {

bool isLeapYear(int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t monthLength(int32_t month, int32_t year) {
    constexpr int32_t kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

} // namespace

std::optional<CivilDate> parseFormDate(std::string_view text) {
    text = TrimView(text);
    if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
    const auto number = [&](size_t at, size_t length) {
        int32_t value = 0;
        for (size_t k = at; k < at + length; ++k) {
            if (text[k] < '0' || text[k] > '9') return -1;
            value = value * 10 + (text[k] - '0');
        }
        return value;
    };
    const CivilDate date{number(6, 4), number(0, 2), number(3, 2)};
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > monthLength(date.month, date.year))
        return std::nullopt;
    return date;
}

std::string formDateText(CivilDate date) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", static_cast<int>(date.month),
                  static_cast<int>(date.day), static_cast<int>(date.year));
    return text;
}

CivilDate addDays(CivilDate date, int32_t days) {
    return civilDate(daysSince1970(date) + days);
}

bool fillDueDate(FormDocument& form, std::optional<int32_t> paymentDays) {
    if (!paymentDays || !TrimView(form.dueDate).empty()) return false;
    const std::optional<CivilDate> formDate = parseFormDate(form.formDate);
    if (!formDate) return false;
    form.dueDate = formDateText(addDays(*formDate, *paymentDays));
    return true;
}

std::string invoiceDatesProblem(const FormDocument& form) {
    const std::optional<CivilDate> due = parseFormDate(form.dueDate);
    if (!TrimView(form.dueDate).empty() && !due)
        return "the due date \"" + form.dueDate + "\" is not a date mm/dd/yyyy";
    if (!TrimView(form.deliveryDate).empty() && !parseFormDate(form.deliveryDate))
        return "the delivery date \"" + form.deliveryDate + "\" is not a date mm/dd/yyyy";
    const std::optional<CivilDate> formDate = parseFormDate(form.formDate);
    if (due && formDate && *due < *formDate)
        return "the due date " + formDateText(*due) + " is before the form date " +
               formDateText(*formDate);
    return {};
}

} // namespace plaxet
