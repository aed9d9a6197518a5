// The portable build holds its text in code page 1252.
#include "runtime/codepage.h"

namespace plaxet {

unsigned char ansiLower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
    case 0x8A:
        return 0x9A; // S caron
    case 0x8C:
        return 0x9C; // OE
    case 0x8E:
        return 0x9E; // Z caron
    case 0x9F:
        return 0xFF; // Y diaeresis
    default:
        return c;
    }
}

std::string ansiLowerText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(ansiLower(static_cast<unsigned char>(c)));
    return lower;
}

uint32_t ansiCodePageNumber() {
    return 1252;
}

uint32_t ansiCodePoint(unsigned char c) {
    return cp1252CodePoint(c);
}

std::optional<unsigned char> ansiByte(uint32_t codePoint) {
    return cp1252Byte(codePoint);
}

AnsiCharacter ansiCharacterAt(std::string_view text, size_t at) {
    return {cp1252CodePoint(static_cast<unsigned char>(text[at])), 1};
}

} // namespace plaxet
