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

unsigned char ansiUpper(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
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
