#include "form/sender_file.h"

#include "runtime/paths.h"

#include <optional>
#include <string_view>

namespace plaxet {

bool loadSenderLines(FormDocument& form, const std::string& path) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content) return false;
    // The text ends at the first 0x1A. A line ends at a CR, and an LF right
    // after it belongs to that line end; a bare LF stays in the line. A short
    // file reads its missing lines as empty texts.
    std::string_view rest(*content);
    rest = rest.substr(0, rest.find('\x1A'));
    for (std::string& line : form.senderLines) {
        const size_t end = rest.find('\r');
        line = std::string(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    }
    return true;
}

ReplaceResult saveSenderLines(const FormDocument& form, const std::string& path) {
    const std::string folder = folderPart(path);
    if (!folder.empty() && !folderExists(folder) && !createFolder(folder))
        return {false, "cannot create the data folder " + folder};
    if (fileExists(path) && isReadOnly(path)) return {false, path + " is read-only"};
    std::string content;
    for (const std::string& line : form.senderLines) content += line + "\r\n";
    return replaceFileContents(path, content);
}

} // namespace plaxet
