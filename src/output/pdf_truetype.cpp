#include "output/pdf_truetype.h"

#include "runtime/file.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace plaxet {
namespace {

// Big-endian numbers of the font file; bytes beyond the end read as zero,
// so a damaged table can make a wrong number but never a read outside.
uint32_t byteAt(std::string_view data, size_t at) {
    return at < data.size() ? static_cast<unsigned char>(data[at]) : 0;
}
uint16_t u16(std::string_view data, size_t at) {
    return static_cast<uint16_t>(byteAt(data, at) << 8 | byteAt(data, at + 1));
}
int16_t i16(std::string_view data, size_t at) {
    return static_cast<int16_t>(u16(data, at));
}
uint32_t u32(std::string_view data, size_t at) {
    return static_cast<uint32_t>(u16(data, at)) << 16 | u16(data, at + 2);
}
void put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}
void put32(std::string& out, uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

std::string_view table(const TrueTypeFont& font, std::string_view tag) {
    const auto found = font.tables.find(tag);
    if (found == font.tables.end()) return {};
    return std::string_view(font.bytes).substr(found->second.first, found->second.second);
}

void readFormat4(std::string_view cmap, size_t at, std::map<uint32_t, uint16_t>& glyphs) {
    const size_t segments = u16(cmap, at + 6) / 2;
    const size_t ends = at + 14, starts = ends + 2 * segments + 2;
    const size_t deltas = starts + 2 * segments, rangeOffsets = deltas + 2 * segments;
    for (size_t s = 0; s < segments; ++s) {
        const uint32_t first = u16(cmap, starts + 2 * s), last = u16(cmap, ends + 2 * s);
        const uint16_t delta = u16(cmap, deltas + 2 * s);
        const uint16_t rangeOffset = u16(cmap, rangeOffsets + 2 * s);
        for (uint32_t c = first; c <= last && c != 0xFFFF; ++c) {
            uint16_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = static_cast<uint16_t>(c + delta);
            } else {
                const size_t item = rangeOffsets + 2 * s + rangeOffset + 2 * (c - first);
                glyph = u16(cmap, item);
                if (glyph != 0) glyph = static_cast<uint16_t>(glyph + delta);
            }
            if (glyph != 0) glyphs.emplace(c, glyph);
        }
    }
}

void readFormat12(std::string_view cmap, size_t at, std::map<uint32_t, uint16_t>& glyphs) {
    const uint32_t groups = std::min<uint32_t>(u32(cmap, at + 12), cmap.size() / 12);
    for (uint32_t g = 0; g < groups; ++g) {
        const size_t group = at + 16 + 12 * static_cast<size_t>(g);
        const uint32_t first = u32(cmap, group),
                       last = std::min<uint32_t>(u32(cmap, group + 4), 0x10FFFF);
        const uint32_t glyph = u32(cmap, group + 8);
        for (uint32_t c = first; c <= last && glyph + (c - first) <= 0xFFFF; ++c)
            glyphs.emplace(c, static_cast<uint16_t>(glyph + (c - first)));
    }
}

// The Unicode map of the font: the full-repertoire subtable where there is
// one, else the one of the basic plane.
void readCharacterMap(TrueTypeFont& font) {
    const std::string_view cmap = table(font, "cmap");
    const uint16_t count = u16(cmap, 2);
    size_t basic = 0, full = 0;
    for (uint16_t i = 0; i < count; ++i) {
        const size_t record = 4 + 8 * static_cast<size_t>(i);
        const uint16_t platform = u16(cmap, record), encoding = u16(cmap, record + 2);
        const uint32_t at = u32(cmap, record + 4);
        const uint16_t format = u16(cmap, at);
        if (format == 12 && (platform == 0 || (platform == 3 && encoding == 10))) full = at;
        if (format == 4 && (platform == 0 || (platform == 3 && encoding == 1))) basic = at;
    }
    if (full != 0)
        readFormat12(cmap, full, font.glyphOfCodePoint);
    else if (basic != 0)
        readFormat4(cmap, basic, font.glyphOfCodePoint);
}

// The PostScript name, kept to the characters a PDF name may hold as they are.
std::string postScriptName(const TrueTypeFont& font) {
    const std::string_view names = table(font, "name");
    const uint16_t count = u16(names, 2);
    const size_t strings = u16(names, 4);
    std::string name;
    for (uint16_t i = 0; i < count && name.empty(); ++i) {
        const size_t record = 6 + 12 * static_cast<size_t>(i);
        if (u16(names, record + 6) != 6) continue;
        const uint16_t platform = u16(names, record);
        const size_t length = u16(names, record + 8), at = strings + u16(names, record + 10);
        const size_t step = platform == 1 ? 1 : 2; // Macintosh: bytes; else UTF-16
        for (size_t k = step - 1; k < length; k += step) {
            const char c = static_cast<char>(byteAt(names, at + k));
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                c == '-')
                name += c;
        }
    }
    return name.empty() ? "PlaxetUnicode" : name;
}

std::string_view glyphData(const TrueTypeFont& font, uint16_t glyph) {
    if (glyph >= font.glyphCount) return {};
    const std::string_view loca = table(font, "loca");
    const uint32_t start = font.longOffsets ? u32(loca, 4 * glyph) : 2u * u16(loca, 2 * glyph);
    const uint32_t end =
        font.longOffsets ? u32(loca, 4 * (glyph + 1)) : 2u * u16(loca, 2 * (glyph + 1));
    const std::string_view glyf = table(font, "glyf");
    if (end <= start || start >= glyf.size()) return {};
    return glyf.substr(start, end - start);
}

// The glyphs a composite glyph is built from.
std::vector<uint16_t> componentsOf(std::string_view data) {
    std::vector<uint16_t> components;
    if (data.size() < 10 || i16(data, 0) >= 0) return components;
    constexpr uint16_t kWords = 0x0001, kScale = 0x0008, kMore = 0x0020, kXYScale = 0x0040,
                       kTwoByTwo = 0x0080;
    size_t at = 10;
    for (uint16_t flags = kMore; (flags & kMore) && at + 4 <= data.size();) {
        flags = u16(data, at);
        components.push_back(u16(data, at + 2));
        at += 4 + ((flags & kWords) ? 4 : 2);
        at += (flags & kScale) ? 2 : (flags & kXYScale) ? 4 : (flags & kTwoByTwo) ? 8 : 0;
    }
    return components;
}

uint32_t tableChecksum(std::string_view data) {
    uint32_t sum = 0;
    for (size_t at = 0; at < data.size(); at += 4) sum += u32(data, at);
    return sum;
}

} // namespace

std::optional<TrueTypeFont> readTrueTypeFont(std::string bytes) {
    TrueTypeFont font;
    font.bytes = std::move(bytes);
    const std::string_view data(font.bytes);
    const uint32_t version = u32(data, 0);
    if (version != 0x00010000 && version != 0x74727565) return std::nullopt; // 1.0 or "true"
    const uint16_t count = u16(data, 4);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t record = 12 + 16 * static_cast<size_t>(i);
        const uint32_t offset = u32(data, record + 8), length = u32(data, record + 12);
        if (offset > data.size() || length > data.size() - offset) return std::nullopt;
        font.tables[std::string(data.substr(record, 4))] = {offset, length};
    }
    for (const char* needed : {"head", "hhea", "hmtx", "maxp", "loca", "glyf", "cmap"})
        if (table(font, needed).empty()) return std::nullopt;
    const std::string_view head = table(font, "head"), hhea = table(font, "hhea");
    font.unitsPerEm = u16(head, 18);
    if (font.unitsPerEm == 0) return std::nullopt;
    for (int k = 0; k < 4; ++k) font.box[k] = i16(head, 36 + 2 * static_cast<size_t>(k));
    font.longOffsets = i16(head, 50) == 1;
    font.ascent = i16(hhea, 4);
    font.descent = i16(hhea, 6);
    font.horizontalMetricCount = u16(hhea, 34);
    font.glyphCount = u16(table(font, "maxp"), 4);
    if (font.horizontalMetricCount == 0 || font.glyphCount == 0) return std::nullopt;
    readCharacterMap(font);
    font.name = postScriptName(font);
    return font;
}

uint16_t glyphOf(const TrueTypeFont& font, uint32_t codePoint) {
    const auto found = font.glyphOfCodePoint.find(codePoint);
    return found == font.glyphOfCodePoint.end() || found->second >= font.glyphCount ? 0
                                                                                    : found->second;
}

uint32_t glyphWidth(const TrueTypeFont& font, uint16_t glyph) {
    const uint16_t metric = std::min<uint16_t>(glyph, font.horizontalMetricCount - 1);
    const uint32_t advance = u16(table(font, "hmtx"), 4 * static_cast<size_t>(metric));
    return (advance * 1000 + font.unitsPerEm / 2) / font.unitsPerEm;
}

std::string subsetTrueTypeFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs) {
    // The glyphs asked for, the missing glyph, and every component of them.
    std::set<uint16_t> kept(glyphs.begin(), glyphs.end());
    kept.insert(0);
    std::vector<uint16_t> pending(kept.begin(), kept.end());
    while (!pending.empty()) {
        const uint16_t glyph = pending.back();
        pending.pop_back();
        for (const uint16_t part : componentsOf(glyphData(font, glyph)))
            if (part < font.glyphCount && kept.insert(part).second) pending.push_back(part);
    }

    std::string glyf, loca;
    for (uint32_t glyph = 0; glyph < font.glyphCount; ++glyph) {
        put32(loca, static_cast<uint32_t>(glyf.size()));
        if (!kept.count(static_cast<uint16_t>(glyph))) continue;
        glyf += glyphData(font, static_cast<uint16_t>(glyph));
        while (glyf.size() % 4 != 0) glyf += '\0';
    }
    put32(loca, static_cast<uint32_t>(glyf.size()));

    std::string head(table(font, "head"));
    if (head.size() >= 54) {
        head.replace(8, 4, std::string(4, '\0')); // the whole file's check, left at zero
        head[50] = 0;
        head[51] = 1; // 32-bit glyph locations
    }
    std::map<std::string, std::string> tables = {{"head", head},
                                                 {"hhea", std::string(table(font, "hhea"))},
                                                 {"maxp", std::string(table(font, "maxp"))},
                                                 {"hmtx", std::string(table(font, "hmtx"))},
                                                 {"loca", loca},
                                                 {"glyf", glyf}};
    for (const char* hinting : {"cvt ", "fpgm", "prep"})
        if (!table(font, hinting).empty()) tables[hinting] = std::string(table(font, hinting));

    const auto count = static_cast<uint16_t>(tables.size());
    uint16_t power = 1, log = 0;
    while (power * 2 <= count) {
        power = static_cast<uint16_t>(power * 2);
        ++log;
    }
    std::string out;
    put32(out, 0x00010000);
    put16(out, count);
    put16(out, power * 16u);
    put16(out, log);
    put16(out, count * 16u - power * 16u);
    size_t offset = 12 + 16 * static_cast<size_t>(count);
    for (const auto& [tag, data] : tables) {
        out += tag;
        put32(out, tableChecksum(data));
        put32(out, static_cast<uint32_t>(offset));
        put32(out, static_cast<uint32_t>(data.size()));
        offset += (data.size() + 3) / 4 * 4;
    }
    for (const auto& [tag, data] : tables) {
        out += data;
        while (out.size() % 4 != 0) out += '\0';
    }
    return out;
}

const TrueTypeFont* pdfUnicodeFont() {
    static const std::optional<TrueTypeFont> font = []() -> std::optional<TrueTypeFont> {
        std::vector<std::string> candidates;
        if (const char* chosen = std::getenv("PLAXET_PDF_FONT")) candidates.emplace_back(chosen);
#ifdef _WIN32
        const char* windows = std::getenv("SystemRoot");
        if (!windows) windows = std::getenv("WINDIR");
        const std::string fonts = std::string(windows ? windows : "C:\\Windows") + "\\Fonts\\";
        for (const char* file : {"segoeui.ttf", "arial.ttf", "tahoma.ttf"})
            candidates.push_back(fonts + file);
#else
        candidates.emplace_back("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
#endif
        for (const std::string& path : candidates) {
            if (std::optional<std::string> bytes = readWholeFile(path))
                if (std::optional<TrueTypeFont> read = readTrueTypeFont(std::move(*bytes)))
                    return read;
        }
        return std::nullopt;
    }();
    return font ? &*font : nullptr;
}

} // namespace plaxet
