#include "output/escaping.h"

#include "runtime/codepage.h"

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

void appendRtfEscape(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (byte < 0x80) {
        out += '\\';
        out += static_cast<char>(byte);
        return;
    }
    const char escape[] = {'\\', '\'', kHex[byte >> 4], kHex[byte & 0x0F]};
    out.append(escape, sizeof escape);
}

void appendHtmlEscape(std::string& out, unsigned char byte) {
    switch (byte) {
    case '&':
        out += "&amp;";
        return;
    case '<':
        out += "&lt;";
        return;
    case '>':
        out += "&gt;";
        return;
    case '"':
        out += "&quot;";
        return;
    default:
        break;
    }
    char reference[16] = {'&', '#'};
    char* end =
        std::to_chars(reference + 2, reference + sizeof reference - 1, ansiCodePoint(byte)).ptr;
    *end++ = ';';
    out.append(reference, end);
}

// Most of a form's text needs no escaping: copy each run of plain bytes with
// one append and escape only the bytes in between.
template <void (*appendEscape)(std::string&, unsigned char)>
void appendEscaped(std::string& out, std::string_view text, const ByteSet& special) {
    size_t runStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!special[byte]) continue;
        out.append(text.data() + runStart, i - runStart);
        appendEscape(out, byte);
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
}

} // namespace

void appendRtfText(std::string& out, std::string_view text) {
    appendEscaped<appendRtfEscape>(out, text, kRtfSpecial);
}

void appendHtmlText(std::string& out, std::string_view text) {
    appendEscaped<appendHtmlEscape>(out, text, kHtmlSpecial);
}

} // namespace plaxet
