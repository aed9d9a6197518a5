#pragma once
// Path texts: the host's separator and the parts of a path. Windows takes a
// backslash, "/" or a drive colon as the end of a folder and ignores letter
// case; Linux ends folders only at "/", and letter case is part of the name.
#include <string>
#include <string_view>

namespace plaxet {

struct PathStyle {
    char separator;
    bool ignoresCase;
};

inline constexpr PathStyle kWindowsPaths{'\\', true};
inline constexpr PathStyle kPosixPaths{'/', false};
#ifdef _WIN32
inline constexpr PathStyle kHostPaths = kWindowsPaths;
#else
inline constexpr PathStyle kHostPaths = kPosixPaths;
#endif

bool endsFolder(char c, PathStyle style = kHostPaths);

// Everything up to and including the last folder end ("c:\forms\" of
// "c:\forms\smith.plx"); empty for a bare file name.
std::string folderPart(std::string_view path, PathStyle style = kHostPaths);
// The rest: "smith.plx".
std::string fileNamePart(std::string_view path, PathStyle style = kHostPaths);
// The folder with one separator at its end (an empty folder stays empty).
std::string withTrailingSeparator(std::string_view folder, PathStyle style = kHostPaths);
// Whether two path texts name the same file by the style's letter-case rule.
bool samePathText(std::string_view a, std::string_view b, PathStyle style = kHostPaths);

// The host's full path of a path given relative to the current folder; the
// path itself when it cannot be resolved.
std::string fullPath(const std::string& path);

} // namespace plaxet
