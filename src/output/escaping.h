#pragma once
// Escaping of the form's texts for the two documents, so that whatever the
// user typed reads as text and never as markup.
#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// Appends UTF-8 text for an RTF document: "\", "{" and "}" get a backslash
// in front; a character from U+0080 on that the code page holds is written
// as its bytes there, each as \'hh (lower-case hex), and one it does not
// hold as \uN followed by the code page's nearest one-byte character as
// \'hh, or "?". Where the code page is UTF-8, every character from U+0080 on
// is written as \uN?.
void appendRtfText(std::string& out, std::string_view text, uint32_t codePage);

// The RTF header's character set words for the code page the escaped bytes
// are in: "\ansi\ansicpgN\deff0" and the font table with its \fcharset.
std::string rtfCharacterSetHeader(uint32_t codePage);

// Appends UTF-8 text for an HTML page: "&", "<", ">" and '"' become entity
// references, and every character from U+0080 on becomes &#N; with N its
// code point.
void appendHtmlText(std::string& out, std::string_view text);

} // namespace plaxet
