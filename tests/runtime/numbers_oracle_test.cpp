// Val and Format checked against independent references over many values:
// Val against the C library's correctly rounded extended-precision parser,
// Format against a plain decimal-string rounding of the 18-digit expansion.
#include "runtime/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

namespace plaxet {
namespace {

// The money text by the rule, done the slow and obvious way on digit strings.
std::string referenceFormat(double value) {
    char buf[64];
    auto end =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17)
            .ptr;
    std::string text(buf, end);
    const size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::atoi(text.c_str() + e + 1);
    size_t whole = 1;
    if (exponent < 0)
        digits.insert(0, static_cast<size_t>(-exponent), '0');
    else
        whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() < whole + 2) digits.append(whole + 2 - digits.size(), '0');
    std::string kept = digits.substr(0, whole + 2);
    const std::string rest = digits.substr(whole + 2);
    bool up = false;
    if (!rest.empty() && rest[0] > '5') up = true;
    if (!rest.empty() && rest[0] == '5')
        up = rest.find_first_not_of('0', 1) != std::string::npos || (kept.back() - '0') % 2 == 1;
    if (up) {
        size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0) {
            kept.insert(0, 1, '1');
            ++whole;
        } else {
            ++kept[i - 1];
        }
    }
    std::string integer = kept.substr(0, whole);
    while (integer.size() > 1 && integer[0] == '0') integer.erase(0, 1);
    return (value < 0 ? "-" : "") + integer + "." + kept.substr(whole);
}

} // namespace

TEST(NumbersOracle, ValAgreesWithACorrectlyRoundedParser) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int> digitCount(1, 18), exponent(-30, 30), digit(0, 9);
    for (int n = 0; n < 100000; ++n) {
        std::string text;
        const int count = digitCount(random);
        const int point = std::uniform_int_distribution<int>(0, count)(random);
        for (int i = 0; i < count; ++i) {
            if (i == point) text += '.';
            text += static_cast<char>('0' + digit(random));
        }
        if (n % 3 == 0) text += "e" + std::to_string(exponent(random));
        const long double expected = std::strtold(text.c_str(), nullptr);
        ASSERT_EQ(Val(text), expected) << text;
    }
}

TEST(NumbersOracle, FormatAgreesWithTheDigitStringRule) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int64_t> cents(-100000000, 100000000);
    std::uniform_real_distribution<double> anywhere(-1e7, 1e7);
    for (int n = 0; n < 100000; ++n) {
        // Near-ties around whole and half cents are where rounding goes wrong.
        const double nearTie = static_cast<double>(cents(random)) / 1000.0;
        ASSERT_EQ(Format(nearTie), referenceFormat(nearTie)) << nearTie;
        const double sum = nearTie + 0.1 + 0.2;
        ASSERT_EQ(Format(sum), referenceFormat(sum)) << sum;
        const double any = anywhere(random);
        ASSERT_EQ(Format(any), referenceFormat(any)) << any;
    }
    for (double big : {1e15, 123456789012345678.0, 1e22, 9.999999999999999e22, 1e300})
        EXPECT_EQ(Format(big), referenceFormat(big)) << big;
}

} // namespace plaxet
