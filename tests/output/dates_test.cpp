#include "output/dates.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

// The rewritten text of a valid date, or "invalid".
std::string validated(std::string date) {
    return validateDate(date) == 0 ? date : "invalid";
}

} // namespace

TEST(Dates, AcceptedFormsBecomeTheNormalForm) {
    EXPECT_EQ(validated("1-5-07"), "01/05/2007");
    EXPECT_EQ(validated("1/5/07"), "01/05/2007");
    EXPECT_EQ(validated("01/05/2007"), "01/05/2007");
    EXPECT_EQ(validated("1/05-2007"), "01/05/2007");
    EXPECT_EQ(validated("  3/5/2024 "), "03/05/2024");
    // Fields are read as numbers, not checked as digits.
    EXPECT_EQ(validated("5x/3/07"), "5x/03/2007");
    EXPECT_EQ(validated("2007-01-05"), "07/01/2005");
}

TEST(Dates, MonthsDaysAndYearsMustBeInRange) {
    EXPECT_EQ(validated("2/29/2000"), "02/29/2000");
    EXPECT_EQ(validated("2/29/2024"), "02/29/2024");
    EXPECT_EQ(validated("2/29/2100"), "invalid");
    EXPECT_EQ(validated("2/29/2023"), "invalid");
    EXPECT_EQ(validated("4/31/2010"), "invalid");
    EXPECT_EQ(validated("12/31/2100"), "12/31/2100");
    EXPECT_EQ(validated("1/1/1999"), "invalid");
    EXPECT_EQ(validated("1/1/2101"), "invalid");
    EXPECT_EQ(validated("13/1/2007"), "invalid");
    EXPECT_EQ(validated("0/1/2007"), "invalid");
    EXPECT_EQ(validated("123/5/2007"), "invalid");
    EXPECT_EQ(validated("1/5/7"), "invalid");
    EXPECT_EQ(validated("1/5/107"), "invalid");
    EXPECT_EQ(validated("1/0/2007"), "invalid");
    EXPECT_EQ(validated("1/5"), "invalid");
    EXPECT_EQ(validated("1/5/2007/1"), "invalid");
    EXPECT_EQ(validated(""), "invalid");
    EXPECT_EQ(validated("    "), "invalid");
    // The same rules for dates already in the normal form.
    EXPECT_EQ(validated("02/29/2000"), "02/29/2000");
    EXPECT_EQ(validated("02/29/2100"), "invalid");
    EXPECT_EQ(validated("04/31/2010"), "invalid");
    EXPECT_EQ(validated("00/05/2007"), "invalid");
    EXPECT_EQ(validated("01/00/2007"), "invalid");
    EXPECT_EQ(validated("13/01/2007"), "invalid");
    EXPECT_EQ(validated("01/01/1999"), "invalid");
    EXPECT_EQ(validated("01/01/2101"), "invalid");
    EXPECT_EQ(validated("1a/05/2007"), "1a/05/2007");
}

TEST(Dates, AnInvalidDateIsStillTrimmed) {
    std::string date = "  13/1/2007  ";
    EXPECT_EQ(validateDate(date), -1);
    EXPECT_EQ(date, "13/1/2007");
    date = "\t1/5/2007";
    EXPECT_EQ(validateDate(date), 0); // a tab is not trimmed, but Val skips it
    EXPECT_EQ(date, "\t1/05/2007");
}

TEST(Dates, DaysInMonth) {
    const int expected[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(daysInMonth(month, 2023), expected[month - 1]) << month;
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(2, 2100), 28);
    EXPECT_EQ(daysInMonth(2, 2024), 29);
}

TEST(Dates, LongDateSpellsTheMonth) {
    EXPECT_EQ(longDateText("01/05/2007"), "January 5, 2007");
    EXPECT_EQ(longDateText("12/31/2099"), "December 31, 2099");
    EXPECT_EQ(longDateText("07/04/2024"), "July 4, 2024");
    // A date kept with padding or in a short form reads as its normal form.
    EXPECT_EQ(longDateText("3/5/2024  "), "March 5, 2024");
    // Text that is no date is printed as it stands, never indexing a month.
    EXPECT_EQ(longDateText("13/45/2024"), "13/45/2024");
    EXPECT_EQ(longDateText("tomorrow  "), "tomorrow");
    EXPECT_EQ(longDateText("00/00/0000"), "00/00/0000");
}

} // namespace plaxet
