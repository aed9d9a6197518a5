#pragma once
// The ANSI code page in which all of Plaxet's text is held.
// The Windows build asks the system; the portable build uses code page 1252.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

// The lower case of a one-byte character.
unsigned char ansiLower(unsigned char c);
// The lower case of a whole text. Where the code page has two-byte
// characters, each is lower-cased as the character it is, never byte by byte.
std::string ansiLowerText(std::string_view text);
// The Unicode code point of one byte of text; 0xFFFD where the code page has none.
uint32_t ansiCodePoint(unsigned char c);
// One character of ANSI text: on systems whose code page has two-byte
// characters a lead byte and its trail byte make one character.
struct AnsiCharacter {
    uint32_t codePoint = 0;
    size_t length = 1;
};
AnsiCharacter ansiCharacterAt(std::string_view text, size_t at);

// The byte of the ANSI code page that stands for a code point, if any.
std::optional<unsigned char> ansiByte(uint32_t codePoint);

// The number of the ANSI code page (1252 in the portable build).
uint32_t ansiCodePageNumber();

// Code page 1252 itself, whatever the system uses: for files that must come
// out the same on every machine (the help file), and for the portable build.
uint32_t cp1252CodePoint(unsigned char c);
std::optional<unsigned char> cp1252Byte(uint32_t codePoint);

} // namespace plaxet
