#include "form/data_folder.h"

#include <climits>
#include <unistd.h>

namespace plaxet {

// Linux has no shell folders; every copy keeps its data beside itself.
std::string knownFolderPath(int) {
    return {};
}

std::string runningProgramFolder() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return {};
    return folderPart(std::string_view(buffer, static_cast<size_t>(length)));
}

} // namespace plaxet
