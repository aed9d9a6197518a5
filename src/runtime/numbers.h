#pragma once
// Numbers to text and back: the general form Str, the money form Format and
// the parser Val, with the exact rounding that the documents depend on.
#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// General number text: a leading space for zero and positive values, "-" for
// negative ones, at most 15 significant digits, no 0 before the point (" .25").
std::string Str(double value);

// Money text for the pictures "0.00" and "  0.00" (two spaces in front).
// Rounds the 18-digit decimal expansion to cents, ties to even; a negative
// value keeps its sign even when it rounds to zero ("-0.00").
std::string Format(double value, std::string_view picture = "0.00");

// Reads a number from position start (1-based): blanks skipped, an optional
// sign, digits with one point, an exponent (E, e, D or d), or a radix number
// (&H, &O, &Q, &B). Stops at the first byte that does not fit; no digits give 0.
// The result keeps extended precision until the caller adds it to a sum.
long double Val(std::string_view s, int32_t start = 1);

// Float to integer, nearest with ties to even (2.5 gives 2, 3.5 gives 4).
int32_t roundToInt(double value);

} // namespace plaxet
