#include "form/data_folder.h"

#include "runtime/file.h"
#include "runtime/text.h"

namespace plaxet {
namespace {

std::string productFolderIn(const std::string& base, PathStyle style) {
    const char s = style.separator;
    return base + s + "Orvane" + s + "plaxet" + s;
}

} // namespace

DataFolders findDataFolders(std::string_view programFolder, const KnownFolderLookup& lookup,
                            PathStyle style) {
    DataFolders folders;
    folders.programFolder = withTrailingSeparator(programFolder, style);

    // Without a program-files folder nothing counts as installed.
    const std::string programFiles = lookup ? lookup(kProgramFilesFolderId) : std::string();
    if (!programFiles.empty()) folders.installFolder = productFolderIn(programFiles, style);

    const bool installed = !folders.installFolder.empty() &&
                           samePathText(folders.programFolder, folders.installFolder, style);
    const std::string commonData = installed ? lookup(kCommonAppDataFolderId) : std::string();
    if (!commonData.empty())
        folders.dataFolder = productFolderIn(commonData, style);
    else if (style.ignoresCase)
        folders.dataFolder = LCase(folders.programFolder);
    else
        folders.dataFolder = folders.programFolder;

    folders.senderFilePath = folders.dataFolder + "quillet.ini";
    folders.helpFilePath = folders.dataFolder + "plaxet.ahp";
    folders.businessFilePath = folders.dataFolder + "business.json";
    return folders;
}

std::optional<std::string> dataFileRefusal(const std::string& path) {
    const std::string folder = folderPart(path);
    if (!folder.empty() && !folderExists(folder) && !createFolder(folder))
        return "cannot create the data folder " + folder;
    if (fileExists(path) && isReadOnly(path)) return path + " is read-only";
    return std::nullopt;
}

} // namespace plaxet
