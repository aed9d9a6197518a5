#include "runtime/calendar.h"

#include <gtest/gtest.h>

namespace plaxet {

TEST(Calendar, DaysAndDatesGoBothWays) {
    const struct {
        int64_t days;
        CivilDate date;
    } known[] = {
        {0, {1970, 1, 1}},       {-1, {1969, 12, 31}},      {11016, {2000, 2, 29}},
        {19675, {2023, 11, 14}}, {-719528, {0, 1, 1}},      {2932896, {9999, 12, 31}},
        {-719529, {0, 1, 1}},    {4000000, {9999, 12, 31}}, // beyond the years kept apart
    };
    for (const auto& k : known) {
        EXPECT_EQ(civilDate(k.days), k.date) << k.days;
        if (k.days >= -719528 && k.days <= 2932896) {
            EXPECT_EQ(daysSince1970(k.date), k.days);
        }
    }
    for (int64_t day = -800; day < 800; ++day) EXPECT_EQ(daysSince1970(civilDate(day)), day);
}

} // namespace plaxet
