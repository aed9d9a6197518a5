#include "output/dates.h"

#include "runtime/numbers.h"
#include "runtime/text.h"

#include <array>

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

int validateDate(std::string& date) {
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
