#include "output/escaping.h"

#include "runtime/codepage.h"

#include <string>

namespace plaxet {

void appendRtfText(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (byte >= 0x80) {
            out += "\\'";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
}

void appendHtmlText(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (byte >= 0x80) {
                out += "&#";
                out += std::to_string(ansiCodePoint(byte));
                out += ';';
            } else {
                out += c;
            }
        }
    }
}

} // namespace plaxet
