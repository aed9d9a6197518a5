#pragma once
// Escaping of the form's texts for the two documents, so that whatever the
// user typed reads as text and never as markup.
#include <string>
#include <string_view>

namespace plaxet {

// Appends text for an RTF document: "\", "{" and "}" get a backslash in
// front, and every byte from 0x80 on is written as \'hh (lower-case hex), as
// is the trail byte of a two-byte character where the code page has them.
void appendRtfText(std::string& out, std::string_view text);

// Appends text for an HTML page: "&", "<", ">" and '"' become entity
// references, and every character from byte 0x80 on becomes &#N; with N its
// Unicode code point in the ANSI code page.
void appendHtmlText(std::string& out, std::string_view text);

} // namespace plaxet
