// Code page 1252, the ANSI code page of Western European systems.
#include "runtime/codepage.h"

#include "runtime/utf8.h"

#include <iterator>

namespace plaxet {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the page equals Latin-1. The
// five bytes the code page leaves unassigned stand for themselves.
constexpr uint32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

uint32_t cp1252CodePoint(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F) return kHighControls[c - 0x80];
    return c;
}

std::optional<unsigned char> cp1252Byte(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (size_t i = 0; i < std::size(kHighControls); ++i)
        if (kHighControls[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string utf8FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            appendUtf8(out, cp1252CodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace plaxet
