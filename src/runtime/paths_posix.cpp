#include "runtime/paths.h"

#include <climits>
#include <unistd.h>

namespace plaxet {

std::string fullPath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return path;
    return withTrailingSeparator(buffer) + path;
}

} // namespace plaxet
