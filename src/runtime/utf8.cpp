#include "runtime/utf8.h"

#include <cstdio>
#include <cstring>

namespace plaxet {

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<uint32_t> decodeUtf8(std::string_view text, size_t& at) {
    if (at >= text.size()) return std::nullopt;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t extra = 0;
    uint32_t codePoint = 0;
    uint32_t smallest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + extra >= text.size()) return std::nullopt;
    for (size_t i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    at += extra + 1;
    return codePoint;
}

uint32_t nextCodePoint(std::string_view text, size_t& at) {
    if (const std::optional<uint32_t> codePoint = decodeUtf8(text, at)) return *codePoint;
    ++at;
    return 0xFFFD;
}

bool isValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();)
        if (!decodeUtf8(text, at)) return false;
    return true;
}

bool isAscii(std::string_view text) {
    // Eight bytes at a time: texts are checked often, and most are ASCII.
    uint64_t any = 0;
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        uint64_t eight;
        std::memcpy(&eight, text.data() + at, sizeof eight);
        any |= eight;
    }
    for (; at < text.size(); ++at) any |= static_cast<unsigned char>(text[at]);
    return (any & 0x8080808080808080ULL) == 0;
}

bool isCharacterBoundary(std::string_view text, size_t at) {
    return at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

size_t utf16Offset(std::string_view text, size_t byteOffset) {
    size_t units = 0;
    for (size_t at = 0; at < text.size() && at < byteOffset;)
        units += nextCodePoint(text, at) > 0xFFFF ? 2 : 1;
    return units;
}

size_t byteOffsetOfUtf16(std::string_view text, size_t utf16Offset) {
    size_t units = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t next = at;
        units += nextCodePoint(text, next) > 0xFFFF ? 2 : 1;
        if (units > utf16Offset) break;
        at = next;
    }
    return at;
}

Utf16Units utf16Units(uint32_t codePoint) {
    if (codePoint <= 0xFFFF) return {{static_cast<uint16_t>(codePoint), 0}, 1};
    const uint32_t above = codePoint - 0x10000;
    return {{static_cast<uint16_t>(0xD800 + (above >> 10)),
             static_cast<uint16_t>(0xDC00 + (above & 0x3FF))},
            2};
}

std::string codePointName(uint32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

} // namespace plaxet
