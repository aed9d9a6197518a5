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

void appendHexByte(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    const char escape[] = {'\\', '\'', kHex[byte >> 4], kHex[byte & 0x0F]};
    out.append(escape, sizeof escape);
}

// Each escape takes the text and the position of a special byte, and returns
// how many bytes it wrote out: a two-byte character of the code page is
// escaped whole, since its trail byte may look like markup.
size_t appendRtfEscape(std::string& out, std::string_view text, size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
        out += '\\';
        out += static_cast<char>(byte);
        return 1;
    }
    const size_t length = ansiCharacterAt(text, at).length;
    for (size_t i = 0; i < length; ++i)
        appendHexByte(out, static_cast<unsigned char>(text[at + i]));
    return length;
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
    const AnsiCharacter character = ansiCharacterAt(text, at);
    char reference[16] = {'&', '#'};
    char* end =
        std::to_chars(reference + 2, reference + sizeof reference - 1, character.codePoint).ptr;
    *end++ = ';';
    out.append(reference, end);
    return character.length;
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

void appendRtfText(std::string& out, std::string_view text) {
    appendEscaped<appendRtfEscape>(out, text, kRtfSpecial);
}

void appendHtmlText(std::string& out, std::string_view text) {
    appendEscaped<appendHtmlEscape>(out, text, kHtmlSpecial);
}

} // namespace plaxet
