#pragma once
// Where Plaxet keeps its lasting data: the sender file, the business details
// with the number counters, and the help file.
// An installed copy (one running from the program-files folder) keeps them
// in the all-users application-data folder; a copy run from anywhere else
// keeps them beside itself.
#include "runtime/paths.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

// The shell's numbers of the two folders the rule asks for.
inline constexpr int kProgramFilesFolderId = 38;
inline constexpr int kCommonAppDataFolderId = 35;

// Path of a shell folder without a trailing separator; empty when the lookup
// fails or the host has no such folder.
using KnownFolderLookup = std::function<std::string(int folderId)>;

struct DataFolders {
    std::string programFolder; // the running program's folder, separator at the end
    std::string installFolder; // where an installed copy runs from; empty when unknown
    std::string dataFolder;    // always ends with a separator
    std::string senderFilePath;
    std::string helpFilePath;
    std::string businessFilePath; // business.json; the number counters lie beside it
};

// The rule, given the program's folder and a known-folder lookup. On Windows
// the comparison ignores letter case and a copy that is not installed keeps
// its data in its own folder lower-cased, as the Windows file system ignores
// case anyway. Linux names are case-sensitive, so there the program folder is
// compared and used exactly as it is spelled: a lower-cased folder would not exist.
DataFolders findDataFolders(std::string_view programFolder, const KnownFolderLookup& lookup,
                            PathStyle style = kHostPaths);

// The host's own values, for the program's start.
std::string knownFolderPath(int folderId); // the Windows shell; always empty elsewhere

// Before a file of the data folder is written: its folder is made when it is
// missing. Why the file cannot be written (no folder, a read-only file), or
// nothing when it can.
std::optional<std::string> dataFileRefusal(const std::string& path);
std::string runningProgramFolder(); // with a separator at the end; empty if unknown

} // namespace plaxet
