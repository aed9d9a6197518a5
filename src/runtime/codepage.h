#pragma once
// Text inside Plaxet is UTF-8. The files whose layout holds 8-bit text (the
// form file's fields, the sender file, the RTF document's bytes) hold it in
// the ANSI code page: these are the conversions at that boundary, and the
// case mapping of single characters.
// The Windows build uses the system's ANSI code page and the portable build
// code page 1252, unless told another (plaxet-cli --codepage N).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

// The number Windows gives UTF-8 as a code page (a system set to "Use Unicode
// UTF-8 for worldwide language support" has it as its ANSI code page).
constexpr uint32_t kUtf8CodePage = 65001;

// Makes `number` the code page of the conversions below for the rest of the
// process; false, with nothing changed, when this system cannot convert it.
bool useCodePage(uint32_t number);
// The number of the code page in use.
uint32_t codePageInUse();

struct CodePageText {
    std::string bytes; // the text in the code page: exactly, or as close as it allows
    bool exact = true; // false when some character has no place in the code page
};
// Every character the code page holds becomes its bytes; one it does not
// hold becomes the code page's nearest letter (a for ą) or a question mark.
CodePageText toCodePage(std::string_view utf8);
// Text in the code page as UTF-8. Every byte string converts; a byte the
// code page leaves unassigned becomes the control character of that number.
std::string fromCodePage(std::string_view bytes);

// The lower case of one character, by the system's rules.
uint32_t lowerCodePoint(uint32_t codePoint);

// Code page 1252 itself, whatever the code page in use: for files that must
// come out the same on every machine (the help file). Its five unassigned
// bytes stand for the control characters of their numbers, so every byte
// string makes the round trip.
uint32_t cp1252CodePoint(unsigned char c);
std::optional<unsigned char> cp1252Byte(uint32_t codePoint);
std::string utf8FromCp1252(std::string_view bytes);

} // namespace plaxet
