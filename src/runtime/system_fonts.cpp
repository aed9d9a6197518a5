#include "runtime/system_fonts.h"

#include "runtime/environment.h"

namespace plaxet {

std::vector<std::string> documentFontFiles() {
    std::vector<std::string> files;
    if (std::optional<std::string> chosen = environmentValue("PLAXET_PDF_FONT"))
        files.push_back(std::move(*chosen));
#ifdef _WIN32
    const std::string windows =
        environmentValue("SystemRoot").value_or(environmentValue("WINDIR").value_or("C:\\Windows"));
    for (const char* file : {"segoeui.ttf", "arial.ttf", "tahoma.ttf"})
        files.push_back(windows + "\\Fonts\\" + file);
#else
    files.emplace_back("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
#endif
    return files;
}

} // namespace plaxet
