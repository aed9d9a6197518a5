#include "form/invoice_dates.h"

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

// Days since 1 March of year 0 in the proleptic Gregorian calendar, and back
// (the usual era arithmetic: 400 years are 146097 days).
int64_t dayNumber(CivilDate date) {
    const int64_t year = date.year - (date.month <= 2 ? 1 : 0);
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t monthFromMarch = (date.month + 9) % 12;
    const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

CivilDate fromDayNumber(int64_t days) {
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.day = static_cast<int32_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month =
        static_cast<int32_t>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = static_cast<int32_t>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<CivilDate> parseFormDate(std::string_view text) {
    text = trimmed(text);
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
    return fromDayNumber(dayNumber(date) + days);
}

bool fillDueDate(FormDocument& form, std::optional<int32_t> paymentDays) {
    if (!paymentDays || !trimmed(form.dueDate).empty()) return false;
    const std::optional<CivilDate> formDate = parseFormDate(form.formDate);
    if (!formDate) return false;
    form.dueDate = formDateText(addDays(*formDate, *paymentDays));
    return true;
}

std::string invoiceDatesProblem(const FormDocument& form) {
    const std::optional<CivilDate> due = parseFormDate(form.dueDate);
    if (!trimmed(form.dueDate).empty() && !due)
        return "the due date \"" + form.dueDate + "\" is not a date mm/dd/yyyy";
    if (!trimmed(form.deliveryDate).empty() && !parseFormDate(form.deliveryDate))
        return "the delivery date \"" + form.deliveryDate + "\" is not a date mm/dd/yyyy";
    const std::optional<CivilDate> formDate = parseFormDate(form.formDate);
    if (due && formDate && *due < *formDate)
        return "the due date " + formDateText(*due) + " is before the form date " +
               formDateText(*formDate);
    return {};
}

} // namespace plaxet
