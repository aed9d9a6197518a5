#pragma once
// UTF-8, the encoding of the text that crosses into and out of the program's
// own tools (JSON forms, help sources). Inside, text stays in the ANSI code page.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

void appendUtf8(std::string& out, uint32_t codePoint);

// Decodes the code point at `at` and moves past it; nothing for bytes that are
// not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<uint32_t> decodeUtf8(std::string_view text, size_t& at);

// "U+00E9", for messages about a character.
std::string codePointName(uint32_t codePoint);

} // namespace plaxet
