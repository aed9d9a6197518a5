#include "runtime/system_fonts.h"

#include "runtime/environment.h"

namespace plaxet {

std::vector<FontFace> documentFontFiles() {
    std::vector<FontFace> files;
    if (std::optional<std::string> chosen = environmentValue("PLAXET_PDF_FONT"))
        files.push_back({std::move(*chosen)});
    const std::string fonts = environmentValue("SystemRoot")
                                  .value_or(environmentValue("WINDIR").value_or("C:\\Windows")) +
                              "\\Fonts\\";
    const struct {
        const char* file;
        bool bold;
    } known[] = {{"segoeui.ttf", false},  {"segoeuib.ttf", true}, {"arial.ttf", false},
                 {"arialbd.ttf", true},   {"msyh.ttc", false},    {"msyhbd.ttc", true},
                 {"simsun.ttc", false},   {"meiryo.ttc", false},  {"meiryob.ttc", true},
                 {"msgothic.ttc", false}, {"malgun.ttf", false},  {"malgunbd.ttf", true},
                 {"Nirmala.ttf", false},  {"NirmalaB.ttf", true}, {"seguisym.ttf", false},
                 {"tahoma.ttf", false},   {"tahomabd.ttf", true}};
    for (const auto& font : known) files.push_back({fonts + font.file, 0, font.bold});
    return files;
}

std::vector<FontFace> systemFontsFor(uint32_t, bool) {
    return {};
}

} // namespace plaxet
