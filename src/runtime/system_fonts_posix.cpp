#include "runtime/system_fonts.h"

#include "runtime/environment.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace plaxet {
namespace {

template <auto destroy> struct Destroyer {
    template <typename T> void operator()(T* object) const { destroy(object); }
};
using PatternOwner = std::unique_ptr<FcPattern, Destroyer<FcPatternDestroy>>;
using CharSetOwner = std::unique_ptr<FcCharSet, Destroyer<FcCharSetDestroy>>;
using FontSetOwner = std::unique_ptr<FcFontSet, Destroyer<FcFontSetDestroy>>;

// The fonts fontconfig knows: its configuration for the process, read the
// first time and let go when the process ends.
FcConfig* fontConfiguration() {
    static const bool ready = [] {
        if (FcInit() != FcTrue) return false;
        std::atexit(FcFini);
        return true;
    }();
    return ready ? FcConfigGetCurrent() : nullptr;
}

// A face of the sorted list, when it has TrueType outlines and the character.
bool usable(FcPattern* font, uint32_t codePoint) {
    FcChar8* format = nullptr;
    if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch ||
        std::string_view(reinterpret_cast<const char*>(format)) != "TrueType")
        return false;
    FcCharSet* characters = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) == FcResultMatch &&
           FcCharSetHasChar(characters, codePoint);
}

} // namespace

std::vector<FontFace> documentFontFiles() {
    std::vector<FontFace> files;
    if (std::optional<std::string> chosen = environmentValue("PLAXET_PDF_FONT"))
        files.push_back({std::move(*chosen)});
    files.push_back({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"});
    files.push_back({"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 0, true});
    return files;
}

std::vector<FontFace> systemFontsFor(uint32_t codePoint, bool bold) {
    // A few are enough: the first that reads as a usable font is taken.
    constexpr size_t kEnough = 3;
    std::vector<FontFace> faces;
    FcConfig* config = fontConfiguration();
    const PatternOwner pattern(FcPatternCreate());
    const CharSetOwner wanted(FcCharSetCreate());
    if (!config || !pattern || !wanted) return faces;
    FcCharSetAddChar(wanted.get(), codePoint);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FontSetOwner sorted(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
    if (!sorted) return faces;
    for (int i = 0; i < sorted->nfont && faces.size() < kEnough; ++i) {
        FcPattern* font = sorted->fonts[i];
        FcChar8* file = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR;
        if (!usable(font, codePoint) ||
            FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        faces.push_back({reinterpret_cast<const char*>(file), static_cast<uint32_t>(index & 0xFFFF),
                         weight >= FC_WEIGHT_DEMIBOLD});
    }
    return faces;
}

} // namespace plaxet
