#pragma once
// The pattern of a numbered form type: literal text with placeholders taken
// from the form date and the counter of the series:
//   {YYYY}  the year, four digits     {YY}  its last two digits
//   {MM}    the month, two digits     {#…}  the counter, with at least as
//                                           many digits as there are #
// "{YYYY}-{####}" gives 2024-0017; "INV-{YY}{MM}-{###}" gives INV-2403-017.
// A series runs for as long as the pattern's year (and month, when it has
// {MM}) stays the same: its counter starts again at 1 in the next one.
#include "form/invoice_dates.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// What is wrong with a non-empty pattern, or nothing: an unknown or
// unclosed placeholder, or not exactly one counter.
std::string patternProblem(std::string_view pattern);

// The series a number of this pattern on `date` belongs to: "2024" for a
// pattern with the year, "2024-03" with the month too, "" for one without
// (a single series that never starts again). A pattern with {MM} but no
// year is still told apart by year, so that March of each year is a series
// of its own.
std::string seriesPeriod(std::string_view pattern, CivilDate date);

// The number of a valid pattern for `date` and `counter`.
std::string formatNumber(std::string_view pattern, CivilDate date, int64_t counter);

} // namespace plaxet
