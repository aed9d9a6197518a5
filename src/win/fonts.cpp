#include "win/fonts.h"

#include <map>
#include <string>
#include <vector>

#include "win/handles.h"
#include "runtime/wide.h"

namespace plaxet {
namespace {

constexpr size_t kFaceLength = 31;

struct FontEntry {
    std::string face;
    int points = 8;
    int style = 0;
    std::map<int, UniqueFont> handles; // by DPI
};

// The one process-wide table; fonts are shared by every form.
std::vector<FontEntry>& fontTable() {
    static std::vector<FontEntry> table = [] {
        std::vector<FontEntry> initial(1);
        initial[0].face = "MS Sans Serif";
        return initial;
    }();
    return table;
}

FontEntry* findEntry(int number) {
    std::vector<FontEntry>& table = fontTable();
    if (number < 1 || static_cast<size_t>(number) > table.size()) return nullptr;
    return &table[static_cast<size_t>(number - 1)];
}

UniqueFont makeFont(const FontEntry& entry, int dpi) {
    LOGFONTW font{};
    font.lfHeight = fontPixelHeight(entry.points, dpi);
    font.lfWeight = (entry.style & kFontBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (entry.style & kFontItalic) ? TRUE : FALSE;
    font.lfUnderline = (entry.style & kFontUnderline) ? TRUE : FALSE;
    font.lfStrikeOut = (entry.style & kFontStrikeOut) ? TRUE : FALSE;
    const std::wstring face = toWide(entry.face);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&font));
}

} // namespace

int fontPixelHeight(int points, int dpi) {
    return -MulDiv(points, dpi, 72); // MulDiv rounds to nearest
}

int FontNew(std::string_view face, int points, int style) {
    FontEntry wanted;
    wanted.face = std::string(face.substr(0, kFaceLength));
    wanted.points = points == 0 ? 8 : points;
    wanted.style = style & (kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut);
    std::vector<FontEntry>& table = fontTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const FontEntry& e = table[i];
        if (e.face == wanted.face && e.points == wanted.points && e.style == wanted.style)
            return static_cast<int>(i + 1);
    }
    table.push_back(std::move(wanted));
    return static_cast<int>(table.size());
}

HFONT fontHandle(int number, int dpi) {
    FontEntry* entry = findEntry(number);
    if (!entry || dpi <= 0) return nullptr;
    UniqueFont& handle = entry->handles[dpi];
    if (!handle) handle = makeFont(*entry, dpi);
    return handle.get();
}

} // namespace plaxet
