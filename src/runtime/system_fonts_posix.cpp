#include "runtime/system_fonts.h"

#include "runtime/environment.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

namespace plaxet {
namespace {

// The fontconfig functions used, from the library loaded the first time a
// character needs the system's fonts: most documents never do, and a process
// that loads fontconfig (and the libraries it needs) at start takes a few
// milliseconds longer for every command.
struct Fontconfig {
    decltype(&FcInit) init;
    decltype(&FcFini) fini;
    decltype(&FcConfigGetCurrent) currentConfig;
    decltype(&FcPatternCreate) patternCreate;
    decltype(&FcPatternDestroy) patternDestroy;
    decltype(&FcPatternAddString) patternAddString;
    decltype(&FcPatternAddInteger) patternAddInteger;
    decltype(&FcPatternAddCharSet) patternAddCharSet;
    decltype(&FcPatternGetString) patternGetString;
    decltype(&FcPatternGetInteger) patternGetInteger;
    decltype(&FcPatternGetCharSet) patternGetCharSet;
    decltype(&FcCharSetCreate) charSetCreate;
    decltype(&FcCharSetDestroy) charSetDestroy;
    decltype(&FcCharSetAddChar) charSetAddChar;
    decltype(&FcCharSetHasChar) charSetHasChar;
    decltype(&FcConfigSubstitute) configSubstitute;
    decltype(&FcDefaultSubstitute) defaultSubstitute;
    decltype(&FcFontSort) fontSort;
    decltype(&FcFontSetDestroy) fontSetDestroy;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<Fontconfig> loadFontconfig() {
    // Kept loaded for the process: its configuration is let go at exit.
    void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) return std::nullopt;
    Fontconfig fc{};
    const bool all = resolve(library, "FcInit", fc.init) && resolve(library, "FcFini", fc.fini) &&
                     resolve(library, "FcConfigGetCurrent", fc.currentConfig) &&
                     resolve(library, "FcPatternCreate", fc.patternCreate) &&
                     resolve(library, "FcPatternDestroy", fc.patternDestroy) &&
                     resolve(library, "FcPatternAddString", fc.patternAddString) &&
                     resolve(library, "FcPatternAddInteger", fc.patternAddInteger) &&
                     resolve(library, "FcPatternAddCharSet", fc.patternAddCharSet) &&
                     resolve(library, "FcPatternGetString", fc.patternGetString) &&
                     resolve(library, "FcPatternGetInteger", fc.patternGetInteger) &&
                     resolve(library, "FcPatternGetCharSet", fc.patternGetCharSet) &&
                     resolve(library, "FcCharSetCreate", fc.charSetCreate) &&
                     resolve(library, "FcCharSetDestroy", fc.charSetDestroy) &&
                     resolve(library, "FcCharSetAddChar", fc.charSetAddChar) &&
                     resolve(library, "FcCharSetHasChar", fc.charSetHasChar) &&
                     resolve(library, "FcConfigSubstitute", fc.configSubstitute) &&
                     resolve(library, "FcDefaultSubstitute", fc.defaultSubstitute) &&
                     resolve(library, "FcFontSort", fc.fontSort) &&
                     resolve(library, "FcFontSetDestroy", fc.fontSetDestroy);
    if (!all || fc.init() != FcTrue) return std::nullopt;
    return fc;
}

// Fontconfig with its configuration read, or null where it cannot be had.
const Fontconfig* fontconfig() {
    static const std::optional<Fontconfig> loaded = [] {
        std::optional<Fontconfig> fc = loadFontconfig();
        if (fc) std::atexit([] { fontconfig()->fini(); });
        return fc;
    }();
    return loaded ? &*loaded : nullptr;
}

// An owner that gives a fontconfig object back through its destroy function.
template <typename Object> using Owned = std::unique_ptr<Object, void (*)(Object*)>;

// A face of the sorted list, when it has TrueType outlines and the character.
bool usable(const Fontconfig& fc, FcPattern* font, uint32_t codePoint) {
    FcChar8* format = nullptr;
    if (fc.patternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch ||
        std::string_view(reinterpret_cast<const char*>(format)) != "TrueType")
        return false;
    FcCharSet* characters = nullptr;
    return fc.patternGetCharSet(font, FC_CHARSET, 0, &characters) == FcResultMatch &&
           fc.charSetHasChar(characters, codePoint);
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
    const Fontconfig* fc = fontconfig();
    if (!fc) return faces;
    FcConfig* config = fc->currentConfig();
    const Owned<FcPattern> pattern(fc->patternCreate(), fc->patternDestroy);
    const Owned<FcCharSet> wanted(fc->charSetCreate(), fc->charSetDestroy);
    if (!config || !pattern || !wanted) return faces;
    fc->charSetAddChar(wanted.get(), codePoint);
    fc->patternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    fc->patternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc->patternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    fc->configSubstitute(config, pattern.get(), FcMatchPattern);
    fc->defaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Owned<FcFontSet> sorted(fc->fontSort(config, pattern.get(), FcFalse, nullptr, &result),
                                  fc->fontSetDestroy);
    if (!sorted) return faces;
    for (int i = 0; i < sorted->nfont && faces.size() < kEnough; ++i) {
        FcPattern* font = sorted->fonts[i];
        FcChar8* file = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR;
        if (!usable(*fc, font, codePoint) ||
            fc->patternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        fc->patternGetInteger(font, FC_INDEX, 0, &index);
        fc->patternGetInteger(font, FC_WEIGHT, 0, &weight);
        faces.push_back({reinterpret_cast<const char*>(file), static_cast<uint32_t>(index & 0xFFFF),
                         weight >= FC_WEIGHT_DEMIBOLD});
    }
    return faces;
}

} // namespace plaxet
