#include "output/dates.h"

#include "runtime/numbers.h"
#include "runtime/text.h"

#include <array>
#include <optional>
#include <string_view>

namespace plaxet {
namespace {

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

int32_t numberOf(const std::string& text) {
    return roundToInt(static_cast<double>(Val(text)));
}

} // namespace

int32_t daysInMonth(int32_t month, int32_t year) {
    if (month == 2) {
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        return leap ? 29 : 28;
    }
    return month < 8 ? 30 + (month % 2) : 30 + ((month + 1) % 2);
}

namespace {

// A date already in the normal form, the form every checked date is stored
// in, is checked without taking it apart as text: -1 or 0 as the full rule
// gives, or nothing when the text is in some other form.
std::optional<int> validateNormalForm(std::string_view date) {
    const auto digit = [&](size_t at) { return date[at] >= '0' && date[at] <= '9'; };
    if (date.size() != 10 || date[2] != '/' || date[5] != '/') return std::nullopt;
    for (const size_t at : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!digit(at)) return std::nullopt;
    const auto number = [&](size_t at, size_t length) {
        int32_t value = 0;
        for (size_t i = at; i < at + length; ++i) value = value * 10 + (date[i] - '0');
        return value;
    };
    const int32_t month = number(0, 2), day = number(3, 2), year = number(6, 4);
    if (month < 1 || month > 12 || day < 1 || year < 2000 || year > 2100) return -1;
    return daysInMonth(month, year) < day ? -1 : 0;
}

} // namespace

int validateDate(std::string& date) {
    if (const std::optional<int> checked = validateNormalForm(date)) return *checked;
    date = Trim(date);
    if (ParseCountAny(date, "-/") != 3) return -1;

    const std::string m = Right("0" + ParseAny(date, "-/", 1), 2);
    const std::string d = Right("0" + ParseAny(date, "-/", 2), 2);
    const std::string y = Right("20" + ParseAny(date, "-/", 3), 4);
    const int32_t month = numberOf(m), day = numberOf(d), year = numberOf(y);

    if (month > 12) return -1;
    if (daysInMonth(month, year) < day) return -1;
    if (year > 2100) return -1;
    if (month < 1 || day < 1 || year < 2000) return -1;
    date = m + "/" + d + "/" + y;
    return 0;
}

std::string longDateText(const std::string& formDate) {
    // The form date is normally in the normal form already; one that is not
    // (read from a file, or typed without leaving the box) is normalised here
    // so that the month always names a real month.
    std::string date = formDate;
    if (validateDate(date) != 0) return date;
    const int32_t month = numberOf(Mid(date, 1, 2));
    const int32_t day = numberOf(Mid(date, 4, 2));
    return std::string(kMonthNames[static_cast<size_t>(month - 1)]) + Str(day) + ", " +
           Mid(date, 7, 4);
}

} // namespace plaxet
