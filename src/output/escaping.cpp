#include "output/escaping.h"

#include "runtime/codepage.h"
#include "runtime/utf8.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string>

namespace plaxet {
namespace {

using ByteSet = std::array<bool, 256>;

// The given markup characters and every byte from 0x80 on.
constexpr ByteSet specialBytes(std::string_view markupCharacters) {
    ByteSet set{};
    for (const char c : markupCharacters) set[static_cast<unsigned char>(c)] = true;
    for (size_t byte = 0x80; byte < set.size(); ++byte) set[byte] = true;
    return set;
}

constexpr ByteSet kRtfSpecial = specialBytes("\\{}");
constexpr ByteSet kHtmlSpecial = specialBytes("&<>\"");

void appendHexByte(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    const char escape[] = {'\\', '\'', kHex[byte >> 4], kHex[byte & 0x0F]};
    out.append(escape, sizeof escape);
}

void appendNumber(std::string& out, long number) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

// A character the code page does not hold: its UTF-16 units as \uN (N a
// signed 16-bit number), each followed by the one character a reader without
// Unicode shows instead: the code page's nearest character where it has a
// one-byte one, else a question mark. The fallback is always an escape or
// "?": a bare digit would lengthen N, and a blank would end the control word
// and be lost, taking the reader's next character as the fallback.
void appendRtfUnicode(std::string& out, uint32_t codePoint, std::string_view nearest) {
    const bool oneByte =
        nearest.size() == 1 && static_cast<unsigned char>(nearest[0]) >= 0x20 && nearest[0] != '?';
    const auto appendUnit = [&](uint32_t unit) {
        out += "\\u";
        appendNumber(out,
                     unit >= 0x8000 ? static_cast<long>(unit) - 0x10000 : static_cast<long>(unit));
        if (oneByte)
            appendHexByte(out, static_cast<unsigned char>(nearest[0]));
        else
            out += '?';
    };
    const Utf16Units utf16 = utf16Units(codePoint);
    for (size_t i = 0; i < utf16.count; ++i) appendUnit(utf16.units[i]);
}

// Each escape takes the text and the position of a special byte, and returns
// how many bytes it wrote out: a character is escaped whole. One the code
// page holds is written as its bytes there, each as \'hh.
size_t appendRtfEscape(std::string& out, std::string_view text, size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
        out += '\\';
        out += static_cast<char>(byte);
        return 1;
    }
    size_t next = at;
    const uint32_t codePoint = nextCodePoint(text, next);
    const CodePageText inPage = toCodePage(text.substr(at, next - at));
    if (inPage.exact) {
        for (const char b : inPage.bytes) appendHexByte(out, static_cast<unsigned char>(b));
    } else {
        appendRtfUnicode(out, codePoint, inPage.bytes);
    }
    return next - at;
}

// On a system whose code page is UTF-8 the bytes would be UTF-8, which no
// RTF reader takes: there every character beyond ASCII goes out as Unicode.
size_t appendRtfUnicodeEscape(std::string& out, std::string_view text, size_t at) {
    if (static_cast<unsigned char>(text[at]) < 0x80) return appendRtfEscape(out, text, at);
    size_t next = at;
    appendRtfUnicode(out, nextCodePoint(text, next), "?");
    return next - at;
}

size_t appendHtmlEscape(std::string& out, std::string_view text, size_t at) {
    switch (text[at]) {
    case '&':
        out += "&amp;";
        return 1;
    case '<':
        out += "&lt;";
        return 1;
    case '>':
        out += "&gt;";
        return 1;
    case '"':
        out += "&quot;";
        return 1;
    default:
        break;
    }
    size_t next = at;
    const uint32_t codePoint = nextCodePoint(text, next);
    out += "&#";
    appendNumber(out, static_cast<long>(codePoint));
    out += ';';
    return next - at;
}

// Most of a form's text needs no escaping: copy each run of plain bytes with
// one append and escape only the bytes in between.
template <size_t (*appendEscape)(std::string&, std::string_view, size_t)>
void appendEscaped(std::string& out, std::string_view text, const ByteSet& special) {
    size_t runStart = 0;
    for (size_t i = 0; i < text.size();) {
        if (!special[static_cast<unsigned char>(text[i])]) {
            ++i;
            continue;
        }
        out.append(text.data() + runStart, i - runStart);
        i += appendEscape(out, text, i);
        runStart = i;
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

} // namespace

std::string rtfCharacterSetHeader(uint32_t codePage) {
    // The character set a font table entry names for the bytes of each code page.
    static constexpr std::pair<uint32_t, int> kCharsets[] = {
        {1250, 238}, {1251, 204}, {1252, 0},  {1253, 161}, {1254, 162}, {1255, 177}, {1256, 178},
        {1257, 186}, {1258, 163}, {874, 222}, {932, 128},  {936, 134},  {949, 129},  {950, 136},
    };
    // UTF-8 text is written as ASCII and Unicode escapes, so any page will do.
    if (codePage == kUtf8CodePage) codePage = 1252;
    int charset = 1; // the reader's default, for a code page without its own
    for (const auto& [page, set] : kCharsets)
        if (page == codePage) charset = set;
    std::string header = "\\ansi\\ansicpg";
    appendNumber(header, static_cast<long>(codePage));
    header += "\\deff0{\\fonttbl{\\f0\\fnil\\fcharset";
    appendNumber(header, charset);
    header += " MS Sans Serif;}}";
    return header;
}

void appendRtfText(std::string& out, std::string_view text, uint32_t codePage) {
    if (codePage == kUtf8CodePage)
        appendEscaped<appendRtfUnicodeEscape>(out, text, kRtfSpecial);
    else
        appendEscaped<appendRtfEscape>(out, text, kRtfSpecial);
}

void appendHtmlText(std::string& out, std::string_view text) {
    appendEscaped<appendHtmlEscape>(out, text, kHtmlSpecial);
}

} // namespace plaxet
