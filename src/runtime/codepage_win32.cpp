// The system's ANSI code page, asked of Windows once per process.
#include "runtime/codepage.h"

#include <array>
#include <string>
#include <windows.h>

namespace plaxet {
namespace {

struct AnsiTables {
    std::array<unsigned char, 256> lower{};
    std::array<uint32_t, 256> codePoint{};
};

AnsiTables makeTables() {
    AnsiTables t;
    for (int i = 0; i < 256; ++i) {
        char c[2] = {static_cast<char>(i), 0};
        CharLowerBuffA(c, 1);
        t.lower[i] = static_cast<unsigned char>(c[0]);
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

// `text` lower-cased through UTF-16, when every character of it converts
// both ways and keeps its length in bytes; nothing otherwise.
std::optional<std::string> lowerThroughUnicode(std::string_view text) {
    const int length = static_cast<int>(text.size());
    const int units =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), units);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(units));
    std::string lower(text.size(), '\0');
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units,
                                          lower.data(), length, nullptr, &lossy);
    if (bytes != length || lossy) return std::nullopt;
    return lower;
}

} // namespace

unsigned char ansiLower(unsigned char c) {
    return tables().lower[c];
}

std::string ansiLowerText(std::string_view text) {
    if (text.empty()) return {};
    if (std::optional<std::string> lower = lowerThroughUnicode(text)) return *std::move(lower);
    // Some byte has no character (a lone lead byte, an unassigned code): each
    // character on its own, and one that does not convert stays as it is.
    std::string lower(text);
    for (size_t at = 0; at < lower.size();) {
        const size_t length = ansiCharacterAt(text, at).length;
        if (length == 1) {
            lower[at] = static_cast<char>(ansiLower(static_cast<unsigned char>(text[at])));
        } else if (auto pair = lowerThroughUnicode(text.substr(at, length))) {
            lower.replace(at, length, *pair);
        }
        at += length;
    }
    return lower;
}
uint32_t ansiCodePageNumber() {
    return GetACP();
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
