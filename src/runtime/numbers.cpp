#include "runtime/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace plaxet {
namespace {

// The shortest exact decimal rounding of |value| to `significant` digits:
// the digits without a point, and the power of ten of the first digit.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal decimalDigits(double value, int significant) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                std::chars_format::scientific, significant - 1);
    std::string_view text(buf, static_cast<size_t>(result.ptr - buf));
    const size_t e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e))
        if (c != '.') d.digits += c;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    d.exponent);
    return d;
}

std::string nonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

// Adds one unit in the last place of a string of decimal digits; true when the
// carry ran out of the front (the caller then prepends a 1).
bool incrementDigits(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

int radixOf(char letter) {
    switch (letter) {
    case 'H':
    case 'h':
        return 16;
    case 'O':
    case 'o':
    case 'Q':
    case 'q':
        return 8;
    case 'B':
    case 'b':
        return 2;
    default:
        return 0;
    }
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return 99;
}

long double radixNumber(std::string_view s, size_t i) {
    const int radix = i < s.size() ? radixOf(s[i]) : 0;
    if (radix == 0) return 0;
    uint64_t value = 0;
    for (++i; i < s.size() && digitValue(s[i]) < radix; ++i) {
        if (value > (std::numeric_limits<uint64_t>::max() >> 4)) break;
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digitValue(s[i]));
    }
    return static_cast<long double>(value);
}

static_assert(std::numeric_limits<long double>::digits == 64,
              "amounts are read in the 80-bit extended format; this target lacks it");

// 10^27 = 5^27 * 2^27 and 5^27 < 2^64: the largest power of ten that extended
// precision holds exactly.
constexpr int kMaxExactPowerOfTen = 27;
constexpr auto kPowersOfTen = [] {
    std::array<long double, kMaxExactPowerOfTen + 1> powers{};
    long double power = 1;
    for (long double& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Nearest cent of the 18-digit expansion D of |value|, without producing D,
// for the common case; false where the cheap answer is not certain.
// y = |value| * 100 is within 2^-53 * 1e14 < 0.012 of 100|value| for
// |value| < 1e12, and 100 D is within 5e-18 * 1e14 of 100|value|, so y lies
// within 0.013 of 100 D. When y's fraction is at least 0.02 away from one half,
// y and 100 D round to the same whole number of cents (and no tie is possible).
bool nearestCents(double value, uint64_t& cents) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e12)) return false;
    const double y = magnitude * 100;
    const double whole = std::floor(y);
    const double fraction = y - whole;
    if (std::fabs(fraction - 0.5) < 0.02) return false;
    cents = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// The digits of an exact expansion rounded to cents, ties to even: for the
// rare values whose cent the quick check above cannot settle.
std::string exactMoneyDigits(double value) {
    Decimal d = decimalDigits(value, 18);
    // Lay the digits out as fixed point: `whole` digits before the point.
    std::string digits = d.digits;
    size_t whole = 1;
    if (d.exponent < 0)
        digits.insert(0, static_cast<size_t>(-d.exponent), '0');
    else
        whole = static_cast<size_t>(d.exponent) + 1;
    if (digits.size() < whole + 2) digits.append(whole + 2 - digits.size(), '0');

    std::string kept = digits.substr(0, whole + 2);
    const std::string_view rest = std::string_view(digits).substr(whole + 2);
    bool up = false;
    if (!rest.empty()) {
        if (rest[0] > '5')
            up = true;
        else if (rest[0] == '5')
            up = rest.find_first_not_of('0', 1) != std::string_view::npos ||
                 (kept.back() - '0') % 2 == 1;
    }
    if (up && incrementDigits(kept)) {
        kept.insert(0, 1, '1');
        ++whole;
    }
    std::string integer = kept.substr(0, whole);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    return integer + "." + kept.substr(whole);
}

} // namespace

std::string Str(double value) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0) return " 0";
    Decimal d = decimalDigits(value, 15);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    const int count = static_cast<int>(d.digits.size());
    const int e = d.exponent;
    std::string text = value < 0 ? "-" : " ";

    if (e >= 15 || count - 1 - e > 15) {
        text += d.digits.substr(0, 1);
        if (count > 1) text += "." + d.digits.substr(1);
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        return text + exponent;
    }
    if (e < 0) return text + "." + std::string(static_cast<size_t>(-e - 1), '0') + d.digits;
    if (count <= e + 1)
        return text + d.digits + std::string(static_cast<size_t>(e + 1 - count), '0');
    return text + d.digits.substr(0, static_cast<size_t>(e + 1)) + "." +
           d.digits.substr(static_cast<size_t>(e + 1));
}

std::string Format(double value, std::string_view picture) {
    const std::string_view prefix = picture.substr(0, picture.find_first_not_of(' '));
    uint64_t cents = 0;
    if (nearestCents(value, cents)) {
        // The common case, laid out on the stack: sign, units, point, cents.
        char digits[32];
        char* end = digits;
        if (value < 0) *end++ = '-';
        end = std::to_chars(end, digits + sizeof digits, cents / 100).ptr;
        *end++ = '.';
        *end++ = static_cast<char>('0' + cents / 10 % 10);
        *end++ = static_cast<char>('0' + cents % 10);
        std::string text;
        text.reserve(prefix.size() + static_cast<size_t>(end - digits));
        return text.append(prefix).append(digits, end);
    }
    std::string text(prefix);
    if (!std::isfinite(value)) return text + nonFinite(value);
    if (value < 0) text += '-';
    return text + exactMoneyDigits(value);
}

long double Val(std::string_view s, int32_t start) {
    size_t i = start > 1 ? static_cast<size_t>(start - 1) : 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
    if (i < s.size() && s[i] == '&') return radixNumber(s, i + 1);

    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    // Up to 18 significant digits make the mantissa; later digits only scale it.
    uint64_t mantissa = 0;
    int significant = 0;
    long scale = 0;
    bool anyDigit = false, seenPoint = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            anyDigit = true;
            if (significant < 18) {
                if (mantissa != 0 || s[i] != '0') {
                    mantissa = mantissa * 10 + static_cast<uint64_t>(s[i] - '0');
                    ++significant;
                }
                if (seenPoint) --scale;
            } else if (!seenPoint) {
                ++scale;
            }
        } else if (s[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0;

    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negativeExponent = s[j++] == '-';
        if (j < s.size() && isDigit(s[j])) {
            long exponent = 0;
            for (; j < s.size() && isDigit(s[j]); ++j)
                if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
            scale += negativeExponent ? -exponent : exponent;
        }
    }
    if (mantissa == 0) return negative ? -0.0L : 0.0L;

    // The mantissa (below 10^18) and the powers of ten up to 10^27 are exact in
    // extended precision, so one multiplication or division rounds the exact
    // decimal value correctly, just as strtold would, at a fraction of its cost.
    if (scale >= -kMaxExactPowerOfTen && scale <= kMaxExactPowerOfTen) {
        const auto exact = static_cast<long double>(mantissa);
        const long double value = scale < 0 ? exact / kPowersOfTen[static_cast<size_t>(-scale)]
                                            : exact * kPowersOfTen[static_cast<size_t>(scale)];
        return negative ? -value : value;
    }

    // strtold rounds the exact decimal value correctly to extended precision.
    char text[64];
    char* end = std::to_chars(text, text + 30, mantissa).ptr;
    *end++ = 'e';
    *std::to_chars(end, text + sizeof text - 1, scale).ptr = '\0';
    const long double value = std::strtold(text, nullptr);
    // A number beyond the range of an amount overflows; like every failed
    // conversion it yields zero, so no document ever prints an infinity.
    if (std::isinf(static_cast<double>(value))) return 0;
    return negative ? -value : value;
}

int32_t roundToInt(double value) {
    if (!(value > -2147483648.5 && value < 2147483647.5)) return value > 0 ? INT32_MAX : INT32_MIN;
    return static_cast<int32_t>(std::nearbyint(value));
}

} // namespace plaxet
