#include "form/sender_file.h"

#include "form/data_folder.h"
#include "runtime/codepage.h"
#include "runtime/paths.h"
#include "runtime/utf8.h"

#include <optional>
#include <string_view>

namespace plaxet {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

bool loadSenderLines(FormDocument& form, const std::string& path) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content) return false;
    // The text ends at the first 0x1A. A line ends at a CR, and an LF right
    // after it belongs to that line end; a bare LF stays in the line. A short
    // file reads its missing lines as empty texts.
    std::string_view rest(*content);
    // A file that starts with the byte-order mark is UTF-8, when it is; any
    // other, the code page (so its bytes are never taken for broken UTF-8).
    const bool marked = rest.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
    if (marked) rest.remove_prefix(kUtf8ByteOrderMark.size());
    const bool utf8 = marked && isValidUtf8(rest);
    rest = rest.substr(0, rest.find('\x1A'));
    for (std::string& line : form.senderLines) {
        const size_t end = rest.find('\r');
        const std::string_view text = rest.substr(0, end);
        line = utf8 ? std::string(text) : fromCodePage(text);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    }
    return true;
}

ReplaceResult saveSenderLines(const FormDocument& form, const std::string& path) {
    if (const std::optional<std::string> refusal = dataFileRefusal(path)) return {false, *refusal};
    // The code page as ever; UTF-8 with its byte-order mark when some line
    // holds a character the code page does not, or when the code page's
    // bytes would begin like the mark ("ï»¿" in code page 1252).
    std::string content;
    bool exact = true;
    for (const std::string& line : form.senderLines) {
        const CodePageText inPage = toCodePage(line);
        exact = exact && inPage.exact;
        content += inPage.bytes + "\r\n";
    }
    if (!exact || content.starts_with(kUtf8ByteOrderMark)) {
        content = kUtf8ByteOrderMark;
        for (const std::string& line : form.senderLines) content += line + "\r\n";
    }
    return replaceFileContents(path, content);
}

} // namespace plaxet
