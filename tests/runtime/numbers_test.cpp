#include "runtime/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace plaxet {

TEST(Format, RoundsTheEighteenDigitExpansionToCentsWithTiesToEven) {
    EXPECT_EQ(Format(12.5), "12.50");
    EXPECT_EQ(Format(1234.5), "1234.50");
    EXPECT_EQ(Format(0.125), "0.12");
    EXPECT_EQ(Format(0.375), "0.38");
    EXPECT_EQ(Format(2.125), "2.12");
    EXPECT_EQ(Format(2.675), "2.67"); // held as 2.67499999...
    EXPECT_EQ(Format(0), "0.00");
    EXPECT_EQ(Format(12), "12.00");
    EXPECT_EQ(Format(0.995), "0.99"); // 0.99499999999999999556
    EXPECT_EQ(Format(9.995), "9.99"); // 9.99499999999999957367
    EXPECT_EQ(Format(99.999), "100.00");
    EXPECT_EQ(Format(1e15 + 0.25), "1000000000000000.25");
    EXPECT_EQ(Format(123456789.0), "123456789.00");
    EXPECT_EQ(Format(0.001), "0.00");
    EXPECT_EQ(Format(0.005), "0.01"); // 18 digits: 0.00500000000000000010
}

TEST(Format, KeepsTheSignOfNegativeValuesThatRoundToZero) {
    EXPECT_EQ(Format(-0.004), "-0.00");
    EXPECT_EQ(Format(0.3 - 0.1 - 0.2), "-0.00");
    EXPECT_EQ(Format(-12.345), "-12.35"); // -12.3450000000000006
    EXPECT_EQ(Format(-3, "  0.00"), "  -3.00");
    EXPECT_EQ(Format(7.5, "  0.00"), "  7.50");
}

TEST(Str, WritesTheGeneralNumberForm) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(-12.5), "-12.5");
    EXPECT_EQ(Str(0.25), " .25");
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(1200), " 1200");
    EXPECT_EQ(Str(8.25), " 8.25");
    EXPECT_EQ(Str(0.1 + 0.2), " .3"); // 15 significant digits hide the binary tail
    EXPECT_EQ(Str(162.0 * 0.08), " 12.96");
    EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
    EXPECT_EQ(Str(1e20), " 1E+20");
    EXPECT_EQ(Str(-2.5e-20), "-2.5E-20");
}

TEST(Val, ReadsTheLongestNumberPrefix) {
    EXPECT_EQ(Val("12.50 each"), 12.5L);
    EXPECT_EQ(Val("$12"), 0.0L);
    EXPECT_EQ(Val("1,250.00"), 1.0L);
    EXPECT_EQ(Val("&H1F"), 31.0L);
    EXPECT_EQ(Val("&hff"), 255.0L);
    EXPECT_EQ(Val("&O17"), 15.0L);
    EXPECT_EQ(Val("&B101"), 5.0L);
    EXPECT_EQ(Val("  -1.5E2x"), -150.0L);
    EXPECT_EQ(Val("2d3"), 2000.0L);
    EXPECT_EQ(Val("12.5kg"), 12.5L);
    EXPECT_EQ(Val("1E"), 1.0L);
    EXPECT_EQ(Val("\t\r\n+7"), 7.0L);
    EXPECT_EQ(Val(""), 0.0L);
    EXPECT_EQ(Val("abc"), 0.0L);
    EXPECT_EQ(Val("-."), 0.0L);
    EXPECT_EQ(Val("1.2.3"), 1.2L);
    EXPECT_EQ(Val("x42", 2), 42.0L);
}

TEST(Val, UsesEighteenSignificantDigitsAndKeepsTheMagnitude) {
    EXPECT_EQ(Val("123456789012345678999"), 123456789012345678000.0L);
    EXPECT_EQ(Val("0.000000000000000000001"), 1e-21L);
    EXPECT_EQ(Val("0.1"), 0.1L); // extended precision, not the double 0.1
    // Beyond the range of an amount a number overflows and reads as zero.
    EXPECT_EQ(static_cast<double>(Val("1.5e308")), 1.5e308);
    EXPECT_EQ(Val("1e400"), 0.0L);
    EXPECT_EQ(Val("-2e309 each"), 0.0L);
    EXPECT_NE(Val("0.1"), static_cast<long double>(0.1));
}

TEST(Val, ExtendedPrecisionSumsRoundToTheSameDoubleAsTheirText) {
    double sum = 0;
    sum = static_cast<double>(sum + Val("0.1"));
    sum = static_cast<double>(sum + Val("0.2"));
    EXPECT_EQ(sum, 0.3);
    EXPECT_EQ(static_cast<double>(Val("0.3")), sum);
    EXPECT_NE(0.1 + 0.2, 0.3); // what plain double arithmetic would give
}

// Amounts keep extended precision between reading and summing only where
// long double is the 80-bit format: 64 significant bits with an explicit
// integer bit, a 15-bit exponent. Every target must have it.
TEST(Val, LongDoubleIsTheEightyBitFormatOnThisTarget) {
    EXPECT_EQ(std::numeric_limits<long double>::digits, 64);
    EXPECT_EQ(std::numeric_limits<long double>::max_exponent, 16384);
    volatile long double one = 1.0L;
    EXPECT_NE(one + std::ldexp(1.0L, -63), one);
    EXPECT_EQ(one + std::ldexp(1.0L, -65), one);
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, const_cast<const long double*>(&one), sizeof bytes);
    const unsigned char eightyBitOne[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x3f};
    ASSERT_GE(sizeof(long double), 10u);
    EXPECT_EQ(std::memcmp(bytes, eightyBitOne, 10), 0);
}

TEST(RoundToInt, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundToInt(2.5), 2);
    EXPECT_EQ(roundToInt(3.5), 4);
    EXPECT_EQ(roundToInt(-2.5), -2);
    EXPECT_EQ(roundToInt(2.4999), 2);
    EXPECT_EQ(roundToInt(1e300), INT32_MAX);
}

} // namespace plaxet
