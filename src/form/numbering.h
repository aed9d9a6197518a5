#pragma once
// The counters of the numbered form types and the record of the numbers
// given out, in numbers.json beside business.json:
//   {"counters": {"invoice": {"2024": 17, "2025": 3}},
//    "used": {"invoice": {"2024-0017": "C:\\Forms\\Berg.plx"}}}
// Every change happens under one lock for the whole computer (numbers.lock
// beside it) and is written through the crash-safe replace before the number
// is handed back, so a process killed at any moment can leave a number
// unused but never hands one out twice. A counter is kept per series (the
// pattern's year, or year and month), so a form dated in an earlier year
// still continues that year's series.
#include "form/invoice_dates.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

struct NumberResult {
    bool ok = false;
    std::string number;
    std::string error;  // names the file and what is wrong with it
    std::string usedBy; // a refused number: the other form that has it
};

// The next number of the series of `formType` (1..3) with `pattern` (a valid
// one) for a form dated `date`, recorded for the form file `formPath`. A
// number that the record gives to some form already is passed over. A
// numbers.json that cannot be read or is damaged takes no number: the series
// is never started again from 1 because its counter could not be read.
NumberResult takeNextNumber(const std::string& numbersPath, int32_t formType,
                            std::string_view pattern, CivilDate date, const std::string& formPath);

// Records a number the form already carries (one the user typed, or one
// taken before) for `formPath`. When the record gives it to another form, it
// is refused with `usedBy` set, unless `evenIfUsed` (the user was asked and
// wants it so); the same form's own number passes.
NumberResult claimNumber(const std::string& numbersPath, int32_t formType,
                         const std::string& number, const std::string& formPath,
                         bool evenIfUsed = false);

} // namespace plaxet
