#pragma once
// UTF-8, the encoding of all text inside Plaxet and of the text that crosses
// into and out of its own tools (JSON forms, help sources).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

void appendUtf8(std::string& out, uint32_t codePoint);

// Decodes the code point at `at` and moves past it; nothing for bytes that are
// not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<uint32_t> decodeUtf8(std::string_view text, size_t& at);

// The same for text that should be UTF-8 but may not be: a byte that starts
// no well-formed character reads as U+FFFD and is passed over on its own.
uint32_t nextCodePoint(std::string_view text, size_t& at);

bool isValidUtf8(std::string_view text);

// Whether every byte is below 0x80: such text reads the same in UTF-8 and in
// every code page.
bool isAscii(std::string_view text);

// Whether a piece of text may start at byte `at` (the end counts too): never
// inside a character's continuation bytes.
bool isCharacterBoundary(std::string_view text, size_t at);

// Positions in the same text counted in UTF-16 units, as the window's edit
// controls count them, and back (a position inside a character moves to its start).
size_t utf16Offset(std::string_view text, size_t byteOffset);
size_t byteOffsetOfUtf16(std::string_view text, size_t utf16Offset);

// A code point as UTF-16: one unit, or beyond U+FFFF a surrogate pair
// (`count` 2), as the formats that speak UTF-16 (RTF, PDF's texts) take it.
struct Utf16Units {
    uint16_t units[2] = {0, 0};
    size_t count = 1;
};
Utf16Units utf16Units(uint32_t codePoint);

// "U+00E9", for messages about a character.
std::string codePointName(uint32_t codePoint);

} // namespace plaxet
