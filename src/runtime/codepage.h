#pragma once
// The ANSI code page in which all of Plaxet's text is held.
// The Windows build asks the system; the portable build uses code page 1252.
#include <cstdint>

namespace plaxet {

unsigned char ansiLower(unsigned char c);
unsigned char ansiUpper(unsigned char c);
// The Unicode code point of one byte of text; 0xFFFD where the code page has none.
uint32_t ansiCodePoint(unsigned char c);

} // namespace plaxet
