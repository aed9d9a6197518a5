#include "form/sender_file.h"

#include "runtime/paths.h"

namespace plaxet {

bool loadSenderLines(FormDocument& form, const std::string& path) {
    if (!fileExists(path)) return false;
    OpenFile file = openInput(path);
    if (!isOpen(file)) return false;
    // A short file reads its missing lines as empty texts.
    for (std::string& line : form.senderLines) line = readLine(file);
    closeFile(file);
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
