#pragma once
// Days of the proleptic Gregorian calendar, counted without the C library's
// time zones: the one piece of calendar arithmetic that the form's dates and
// the documents' time stamps share.
#include <compare>
#include <cstdint>

namespace plaxet {

struct CivilDate {
    int32_t year = 0;
    int32_t month = 0; // 1..12
    int32_t day = 0;   // 1..31

    auto operator<=>(const CivilDate&) const = default;
};

// Days since 1 January 1970, and back (a negative count is before it).
// Years beyond 0 to 9999 are not kept apart: a day outside them is taken as
// the nearest day within them.
int64_t daysSince1970(CivilDate date);
CivilDate civilDate(int64_t daysSince1970);

} // namespace plaxet
