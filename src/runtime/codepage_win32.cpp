// The system's ANSI code page, asked of Windows once per process.
#include "runtime/codepage.h"

#include <array>
#include <windows.h>

namespace plaxet {
namespace {

struct AnsiTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
    std::array<uint32_t, 256> codePoint{};
};

AnsiTables makeTables() {
    AnsiTables t;
    for (int i = 0; i < 256; ++i) {
        char c[2] = {static_cast<char>(i), 0};
        CharLowerBuffA(c, 1);
        t.lower[i] = static_cast<unsigned char>(c[0]);
        c[0] = static_cast<char>(i);
        CharUpperBuffA(c, 1);
        t.upper[i] = static_cast<unsigned char>(c[0]);
        char in = static_cast<char>(i);
        wchar_t out = 0;
        int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &in, 1, &out, 1);
        t.codePoint[i] = n == 1 ? out : 0xFFFD;
    }
    return t;
}

const AnsiTables& tables() {
    static const AnsiTables t = makeTables();
    return t;
}

} // namespace

unsigned char ansiLower(unsigned char c) {
    return tables().lower[c];
}
unsigned char ansiUpper(unsigned char c) {
    return tables().upper[c];
}
uint32_t ansiCodePoint(unsigned char c) {
    return tables().codePoint[c];
}

AnsiCharacter ansiCharacterAt(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (at + 1 < text.size() && IsDBCSLeadByte(lead)) {
        wchar_t wide[2] = {};
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data() + at, 2, wide, 2) == 1)
            return {static_cast<uint32_t>(wide[0]), 2};
    }
    return {ansiCodePoint(lead), 1};
}

std::optional<unsigned char> ansiByte(uint32_t codePoint) {
    if (codePoint == 0xFFFD) return std::nullopt;
    const auto& points = tables().codePoint;
    for (size_t i = 0; i < points.size(); ++i)
        if (points[i] == codePoint) return static_cast<unsigned char>(i);
    return std::nullopt;
}

} // namespace plaxet
