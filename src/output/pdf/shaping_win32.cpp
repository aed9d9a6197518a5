#include "output/pdf/shaping.h"

#include "runtime/binary.h"
#include "runtime/utf8.h"

#include <windows.h>

#include <usp10.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace plaxet {
namespace {

// Uniscribe and the few GDI calls it needs, from the libraries loaded the
// first time a text needs them: most documents never do.
struct Uniscribe {
    decltype(&ScriptItemize) itemize = nullptr;
    decltype(&ScriptShape) shape = nullptr;
    decltype(&ScriptPlace) place = nullptr;
    decltype(&CreateCompatibleDC) createDc = nullptr;
    decltype(&CreateFontIndirectW) createFont = nullptr;
    decltype(&SelectObject) selectObject = nullptr;
    decltype(&AddFontMemResourceEx) addFont = nullptr;
    bool itemizing = false;
    bool shaping = false;
};

template <typename Function> bool resolve(HMODULE library, const char* name, Function& function) {
    function = library ? reinterpret_cast<Function>(
                             reinterpret_cast<void (*)()>(GetProcAddress(library, name)))
                       : nullptr;
    return function != nullptr;
}

const Uniscribe& uniscribe() {
    static const Uniscribe loaded = [] {
        Uniscribe u;
        const HMODULE usp = LoadLibraryW(L"usp10.dll");
        const HMODULE gdi = LoadLibraryW(L"gdi32.dll");
        u.itemizing = resolve(usp, "ScriptItemize", u.itemize);
        u.shaping = u.itemizing && resolve(usp, "ScriptShape", u.shape) &&
                    resolve(usp, "ScriptPlace", u.place) &&
                    resolve(gdi, "CreateCompatibleDC", u.createDc) &&
                    resolve(gdi, "CreateFontIndirectW", u.createFont) &&
                    resolve(gdi, "SelectObject", u.selectObject) &&
                    resolve(gdi, "AddFontMemResourceEx", u.addFont);
        return u;
    }();
    return loaded;
}

// A line in UTF-16, with the character (code point) each unit belongs to.
struct Utf16Line {
    std::wstring text;
    std::vector<size_t> character;
};

Utf16Line utf16Line(std::u32string_view characters) {
    Utf16Line line;
    for (size_t i = 0; i < characters.size(); ++i) {
        const Utf16Units units = utf16Units(characters[i]);
        for (size_t k = 0; k < units.count; ++k) {
            line.text += static_cast<wchar_t>(units.units[k]);
            line.character.push_back(i);
        }
    }
    return line;
}

// The line's items (runs of one script and level), each from its first unit;
// the last entry marks the end.
std::vector<SCRIPT_ITEM> items(const Uniscribe& u, const std::wstring& text, int level) {
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = static_cast<WORD>(level);
    std::vector<SCRIPT_ITEM> found(text.size() + 2);
    int count = 0;
    while (u.itemize(text.c_str(), static_cast<int>(text.size()),
                     static_cast<int>(found.size()) - 1, &control, &state, found.data(),
                     &count) == E_OUTOFMEMORY)
        found.resize(found.size() * 2);
    found.resize(static_cast<size_t>(count) + 1);
    return found;
}

// The face's family name, weight and slant as GDI finds a font by them.
LOGFONTW logicalFont(const TrueTypeFont& font) {
    LOGFONTW logical{};
    logical.lfHeight = -static_cast<LONG>(font.unitsPerEm); // so that GDI measures in font units
    logical.lfWeight = FW_NORMAL;
    logical.lfCharSet = DEFAULT_CHARSET;
    logical.lfQuality = ANTIALIASED_QUALITY;
    const std::string_view data = font.bytes;
    if (const auto os2 = font.tables.find("OS/2");
        os2 != font.tables.end() && os2->second.second >= 64) {
        logical.lfWeight = bigEndianUInt16At(data, os2->second.first + 4);
        logical.lfItalic = (bigEndianUInt16At(data, os2->second.first + 62) & 1) != 0;
    }
    const auto names = font.tables.find("name");
    if (names == font.tables.end()) return logical;
    const auto [at, length] = names->second;
    const size_t count = bigEndianUInt16At(data, at + 2);
    const size_t strings = at + bigEndianUInt16At(data, at + 4);
    std::wstring family;
    for (size_t i = 0; i < count && 6 + 12 * (i + 1) <= length; ++i) {
        const size_t record = at + 6 + 12 * i;
        if (bigEndianUInt16At(data, record) != 3 || bigEndianUInt16At(data, record + 6) != 1)
            continue; // a Windows name, the family's
        const size_t bytes = bigEndianUInt16At(data, record + 8);
        const size_t from = strings + bigEndianUInt16At(data, record + 10);
        if (from + bytes > data.size()) continue;
        std::wstring name;
        for (size_t k = 0; k + 1 < bytes; k += 2)
            name += static_cast<wchar_t>(bigEndianUInt16At(data, from + k));
        const bool english = bigEndianUInt16At(data, record + 4) == 0x409;
        if (family.empty() || english) family = name;
        if (english) break;
    }
    family.resize(std::min<size_t>(family.size(), LF_FACESIZE - 1));
    std::copy(family.begin(), family.end(), logical.lfFaceName);
    return logical;
}

// The fonts handed to GDI from memory, for the process: a face is known
// by its name and file size, and loaded once.
struct LoadedFont {
    HFONT font = nullptr;
    SCRIPT_CACHE cache = nullptr;
};

struct Shaper {
    std::mutex lock;
    HDC dc = nullptr;
    std::map<std::tuple<std::string, size_t, uint16_t>, LoadedFont> fonts;
};

Shaper& shaper() {
    static Shaper shared;
    return shared;
}

LoadedFont* loadedFont(const Uniscribe& u, Shaper& s, const TrueTypeFont& font) {
    const auto key = std::make_tuple(font.name, font.bytes.size(), font.glyphCount);
    if (const auto found = s.fonts.find(key); found != s.fonts.end())
        return found->second.font ? &found->second : nullptr;
    LoadedFont& loaded = s.fonts[key];
    DWORD faces = 0;
    if (!u.addFont(const_cast<char*>(font.bytes.data()), static_cast<DWORD>(font.bytes.size()),
                   nullptr, &faces))
        return nullptr;
    const LOGFONTW logical = logicalFont(font);
    loaded.font = u.createFont(&logical);
    return loaded.font ? &loaded : nullptr;
}

} // namespace

std::optional<std::vector<uint8_t>> bidiLevels(std::u32string_view line) {
    const Uniscribe& u = uniscribe();
    if (!u.itemizing) return std::nullopt;
    const Utf16Line utf16 = utf16Line(line);
    std::vector<uint8_t> levels(line.size(), 0);
    if (utf16.text.empty()) return levels;
    const std::vector<SCRIPT_ITEM> found = items(u, utf16.text, 0);
    for (size_t i = 0; i + 1 < found.size(); ++i)
        for (int unit = found[i].iCharPos; unit < found[i + 1].iCharPos; ++unit)
            levels[utf16.character[static_cast<size_t>(unit)]] =
                static_cast<uint8_t>(found[i].a.s.uBidiLevel);
    return levels;
}

std::optional<std::vector<ShapedGlyph>> shapeRun(const TrueTypeFont& font,
                                                 std::u32string_view characters, bool rightToLeft) {
    const Uniscribe& u = uniscribe();
    if (!u.shaping) return std::nullopt;
    Shaper& s = shaper();
    const std::lock_guard<std::mutex> hold(s.lock);
    if (!s.dc) s.dc = u.createDc(nullptr);
    LoadedFont* loaded = s.dc ? loadedFont(u, s, font) : nullptr;
    if (!loaded) return std::nullopt;
    u.selectObject(s.dc, loaded->font);

    const Utf16Line utf16 = utf16Line(characters);
    if (utf16.text.empty()) return std::vector<ShapedGlyph>();
    std::vector<SCRIPT_ITEM> found = items(u, utf16.text, rightToLeft ? 1 : 0);
    std::vector<ShapedGlyph> shaped;
    for (size_t i = 0; i + 1 < found.size(); ++i) {
        const int from = found[i].iCharPos, to = found[i + 1].iCharPos;
        const int length = to - from;
        SCRIPT_ANALYSIS analysis = found[i].a;
        analysis.fRTL = rightToLeft; // the run's direction, as the line's order gave it
        analysis.fLogicalOrder = FALSE;
        std::vector<WORD> glyphs(static_cast<size_t>(length) * 3 / 2 + 16);
        std::vector<WORD> clusters(static_cast<size_t>(length));
        std::vector<SCRIPT_VISATTR> attributes(glyphs.size());
        int count = 0;
        HRESULT result;
        while (true) {
            result = u.shape(s.dc, &loaded->cache, utf16.text.c_str() + from, length,
                             static_cast<int>(glyphs.size()), &analysis, glyphs.data(),
                             clusters.data(), attributes.data(), &count);
            if (result == E_OUTOFMEMORY && glyphs.size() < 65536) {
                glyphs.resize(glyphs.size() * 2);
                attributes.resize(glyphs.size());
            } else if (result == USP_E_SCRIPT_NOT_IN_FONT && analysis.eScript != SCRIPT_UNDEFINED) {
                analysis.eScript = SCRIPT_UNDEFINED; // the font's own glyphs, unshaped
            } else {
                break;
            }
        }
        if (FAILED(result)) return std::nullopt;
        std::vector<int> advances(static_cast<size_t>(count));
        std::vector<GOFFSET> offsets(static_cast<size_t>(count));
        ABC abc{};
        if (FAILED(u.place(s.dc, &loaded->cache, glyphs.data(), count, attributes.data(), &analysis,
                           advances.data(), offsets.data(), &abc)))
            return std::nullopt;
        // Each glyph belongs to the cluster of the first character pointing
        // at a glyph at or before it (after it, in a right-to-left item,
        // whose glyphs stand in the reverse order).
        std::map<WORD, size_t> clusterStart; // glyph -> first character (unit) of its cluster
        for (int unit = length - 1; unit >= 0; --unit)
            clusterStart[clusters[static_cast<size_t>(unit)]] = static_cast<size_t>(unit);
        std::vector<ShapedGlyph> item(static_cast<size_t>(count));
        for (int g = 0; g < count; ++g) {
            auto owner = rightToLeft ? clusterStart.lower_bound(static_cast<WORD>(g))
                                     : clusterStart.upper_bound(static_cast<WORD>(g));
            if (!rightToLeft && owner != clusterStart.begin()) --owner;
            if (owner == clusterStart.end()) owner = std::prev(clusterStart.end());
            const size_t unit = static_cast<size_t>(from) + owner->second;
            item[static_cast<size_t>(g)] = {
                glyphs[static_cast<size_t>(g)], advances[static_cast<size_t>(g)],
                offsets[static_cast<size_t>(g)].du, offsets[static_cast<size_t>(g)].dv,
                static_cast<uint32_t>(utf16.character[unit])};
        }
        // A right-to-left run's items stand from right to left too.
        shaped.insert(rightToLeft ? shaped.begin() : shaped.end(), item.begin(), item.end());
    }
    return shaped;
}

} // namespace plaxet
