#include "runtime/calendar.h"

#include <algorithm>

namespace plaxet {
namespace {

// 1 March of year 0 is day 0 of the era arithmetic (400 years are 146097
// days); 1 January 1970 is day 719468 of it.
constexpr int64_t kEraDayOf1970 = 719468;
constexpr int64_t kFirstDay = -719528; // 1 January of year 0
constexpr int64_t kLastDay = 2932896;  // 31 December 9999

} // namespace

int64_t daysSince1970(CivilDate date) {
    const int64_t year = date.year - (date.month <= 2 ? 1 : 0);
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t monthFromMarch = (date.month + 9) % 12;
    const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - kEraDayOf1970;
}

CivilDate civilDate(int64_t days) {
    days = std::clamp(days, kFirstDay, kLastDay) + kEraDayOf1970;
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

} // namespace plaxet
