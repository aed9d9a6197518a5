#pragma once
// String operations on UTF-8 text. Positions and lengths count bytes, and
// positions start at 1; a piece cut out (Mid, Left, Right) never holds part
// of a character: a cut that falls inside one leaves that character out.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

int32_t Len(std::string_view s);
// n bytes from position start; a negative start counts from the end (-1 is the last byte).
std::string Mid(std::string_view s, int32_t start, int32_t n = INT32_MAX);
std::string Left(std::string_view s, int32_t n);
std::string Right(std::string_view s, int32_t n);

// Position of t in s at or after start (negative: counted from the end); 0 when absent.
int32_t InStr(int32_t start, std::string_view s, std::string_view t);
// Position of the first byte of s at or after start that belongs to set; a negative
// start searches backwards from that position counted from the end.
int32_t InStrAny(int32_t start, std::string_view s, std::string_view set);

int32_t ParseCountAny(std::string_view s, std::string_view set);
// The n-th field (1-based; negative counts from the end); empty beyond the last.
std::string ParseAny(std::string_view s, std::string_view set, int32_t n);
std::vector<std::string> ParseAll(std::string_view s, std::string_view delimiter);

// Trimming removes spaces (0x20) only; tabs stay.
std::string Trim(std::string_view s);
// Trim without the copy: the part of `s` between its outer spaces.
std::string_view TrimView(std::string_view s);

std::string Remove(std::string_view s, std::string_view t);

// Lower case by the system's rules (see codepage.h). A character whose lower
// case takes another number of bytes stays as it is, so that a position in
// the lower-cased text is the same position in the text.
std::string LCase(std::string_view s);

// Byte-wise, case-sensitive; on a common prefix the shorter string comes first.
int Compare(std::string_view a, std::string_view b);

} // namespace plaxet
