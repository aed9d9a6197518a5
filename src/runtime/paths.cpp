#include "runtime/paths.h"

#include "runtime/text.h"

namespace plaxet {
namespace {

size_t lastFolderEnd(std::string_view path, PathStyle style) {
    for (size_t i = path.size(); i-- > 0;)
        if (endsFolder(path[i], style)) return i;
    return std::string_view::npos;
}

} // namespace

bool endsFolder(char c, PathStyle style) {
    if (c == style.separator || c == '/') return true;
    // A drive letter's colon ends the folder part only where drives exist.
    return style.separator == '\\' && c == ':';
}

std::string folderPart(std::string_view path, PathStyle style) {
    const size_t at = lastFolderEnd(path, style);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string fileNamePart(std::string_view path, PathStyle style) {
    const size_t at = lastFolderEnd(path, style);
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string withTrailingSeparator(std::string_view folder, PathStyle style) {
    std::string result(folder);
    if (!result.empty() && !endsFolder(result.back(), style)) result += style.separator;
    return result;
}

bool samePathText(std::string_view a, std::string_view b, PathStyle style) {
    return style.ignoresCase ? LCase(a) == LCase(b) : a == b;
}

} // namespace plaxet
