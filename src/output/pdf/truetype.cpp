#include "output/pdf/truetype.h"

#include "runtime/binary.h"
#include "runtime/file.h"

#include <algorithm>
#include <array>
#include <set>

// Every count a font holds is checked against the length of the table that
// holds it before anything is read by it, and the character map's segments
// must be in order, so that no count or range can make reading take longer
// than the file is long. Every glyph's outline is checked against its data
// as well, so that a font is embedded only when PDF readers can draw it.
// Numbers are read through ByteReader, where bytes past the end read as
// zero: an offset left unchecked can make a wrong number, never a read
// outside.

namespace plaxet {
namespace {

std::string_view table(const TrueTypeFont& font, std::string_view tag) {
    const auto found = font.tables.find(tag);
    if (found == font.tables.end()) return {};
    return std::string_view(font.bytes).substr(found->second.first, found->second.second);
}

// The format 4 subtable at `at`: segment count, then the end codes, a pad,
// the start codes, deltas and range offsets, two bytes a segment each.
struct Format4 {
    size_t segments, ends, starts, deltas, rangeOffsets;
};
Format4 format4At(std::string_view cmap, size_t at) {
    const size_t segments = bigEndianUInt16At(cmap, at + 6) / 2;
    const size_t ends = at + 14, starts = ends + 2 * segments + 2;
    return {segments, ends, starts, starts + 2 * segments, starts + 4 * segments};
}

// Why the format 4 subtable at `at` cannot be used; empty when it can.
std::string format4Fault(std::string_view cmap, size_t at) {
    const Format4 map = format4At(cmap, at);
    if (map.segments == 0) return "the character map has no segments";
    if (map.rangeOffsets + 2 * map.segments > cmap.size())
        return "the character map has more segments than its table holds";
    uint32_t previousEnd = 0;
    for (size_t s = 0; s < map.segments; ++s) {
        const uint32_t first = bigEndianUInt16At(cmap, map.starts + 2 * s);
        const uint32_t last = bigEndianUInt16At(cmap, map.ends + 2 * s);
        if (first > last || (s > 0 && first <= previousEnd))
            return "the character map's segments are out of order";
        previousEnd = last;
    }
    return {};
}

// Why the format 12 subtable at `at` cannot be used; empty when it can.
std::string format12Fault(std::string_view cmap, size_t at) {
    const uint64_t groups = bigEndianUInt32At(cmap, at + 12);
    if (groups == 0) return "the character map has no groups";
    if (at + 16 + 12 * groups > cmap.size())
        return "the character map has more groups than its table holds";
    ByteReader in{cmap, at + 16};
    uint32_t previousEnd = 0;
    for (uint64_t g = 0; g < groups; ++g) {
        const uint32_t first = readBigEndianUInt32(in), last = readBigEndianUInt32(in);
        readBigEndianUInt32(in); // the glyph of `first`
        if (first > last || (g > 0 && first <= previousEnd))
            return "the character map's groups are out of order";
        previousEnd = last;
    }
    return {};
}

// The Unicode map of the font: the full-repertoire subtable where there is
// one, else the one of the basic plane. Empty when it is found and usable.
std::string readCharacterMap(TrueTypeFont& font) {
    const std::string_view cmap = table(font, "cmap");
    const uint16_t count = bigEndianUInt16At(cmap, 2);
    if (4 + 8 * static_cast<size_t>(count) > cmap.size())
        return "the character map lists more subtables than its table holds";
    size_t basic = 0, full = 0;
    ByteReader records{cmap, 4};
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t platform = readBigEndianUInt16(records);
        const uint16_t encoding = readBigEndianUInt16(records);
        const uint32_t at = readBigEndianUInt32(records);
        const uint16_t format = bigEndianUInt16At(cmap, at);
        if (format == 12 && (platform == 0 || (platform == 3 && encoding == 10))) full = at;
        if (format == 4 && (platform == 0 || (platform == 3 && encoding == 1))) basic = at;
    }
    if (full == 0 && basic == 0) return "the font has no Unicode character map";
    font.characterMapFormat = full != 0 ? 12 : 4;
    font.characterMapAt = static_cast<uint32_t>(full != 0 ? full : basic);
    return full != 0 ? format12Fault(cmap, full) : format4Fault(cmap, basic);
}

uint16_t format4Glyph(std::string_view cmap, size_t at, uint32_t codePoint) {
    if (codePoint >= 0xFFFF) return 0;
    const Format4 map = format4At(cmap, at);
    // The first segment that ends at or after the character.
    size_t low = 0, high = map.segments;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (bigEndianUInt16At(cmap, map.ends + 2 * middle) < codePoint)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == map.segments) return 0;
    const uint32_t first = bigEndianUInt16At(cmap, map.starts + 2 * low);
    if (codePoint < first) return 0;
    const uint16_t delta = bigEndianUInt16At(cmap, map.deltas + 2 * low);
    const uint16_t rangeOffset = bigEndianUInt16At(cmap, map.rangeOffsets + 2 * low);
    if (rangeOffset == 0) return static_cast<uint16_t>(codePoint + delta);
    const uint16_t glyph = bigEndianUInt16At(cmap, map.rangeOffsets + 2 * low + rangeOffset +
                                                       2 * static_cast<size_t>(codePoint - first));
    return glyph == 0 ? 0 : static_cast<uint16_t>(glyph + delta);
}

uint16_t format12Glyph(std::string_view cmap, size_t at, uint32_t codePoint) {
    if (codePoint > 0x10FFFF) return 0;
    const size_t groups = bigEndianUInt32At(cmap, at + 12), first = at + 16;
    size_t low = 0, high = groups;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (bigEndianUInt32At(cmap, first + 12 * middle + 4) < codePoint)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == groups) return 0;
    ByteReader group{cmap, first + 12 * low};
    const uint32_t start = readBigEndianUInt32(group);
    readBigEndianUInt32(group); // the end, found above
    const uint64_t glyph = uint64_t{readBigEndianUInt32(group)} + (codePoint - start);
    return codePoint < start || glyph > 0xFFFF ? 0 : static_cast<uint16_t>(glyph);
}

bool isFontNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// The PostScript name, kept to the characters a PDF name may hold as they
// are (letters, digits and '-') and to kFontNameLimit bytes. Empty with
// `error` set when the name table is damaged.
std::string postScriptName(const TrueTypeFont& font, std::string& error) {
    const std::string_view names = table(font, "name");
    if (names.empty()) return "PlaxetUnicode";
    const uint16_t count = bigEndianUInt16At(names, 2);
    const size_t strings = bigEndianUInt16At(names, 4);
    if (6 + 12 * static_cast<size_t>(count) > names.size()) {
        error = "the name table lists more names than it holds";
        return {};
    }
    std::string name;
    for (uint16_t i = 0; i < count && name.empty(); ++i) {
        const size_t record = 6 + 12 * static_cast<size_t>(i);
        if (bigEndianUInt16At(names, record + 6) != 6) continue;
        const uint16_t platform = bigEndianUInt16At(names, record);
        const size_t length = bigEndianUInt16At(names, record + 8);
        const size_t at = strings + bigEndianUInt16At(names, record + 10);
        if (at + length > names.size()) {
            error = "the font's name runs past the end of its table";
            return {};
        }
        const size_t step = platform == 1 ? 1 : 2; // Macintosh: bytes; else UTF-16
        for (size_t k = step - 1; k < length && name.size() < kFontNameLimit; k += step) {
            const char c = names[at + k];
            if (isFontNameCharacter(c) && (step == 1 || names[at + k - 1] == 0)) name += c;
        }
    }
    return name.empty() ? "PlaxetUnicode" : name;
}

uint32_t glyphLocation(const TrueTypeFont& font, std::string_view loca, uint32_t glyph) {
    return font.longOffsets ? bigEndianUInt32At(loca, 4 * size_t{glyph})
                            : 2u * bigEndianUInt16At(loca, 2 * size_t{glyph});
}

std::string_view glyphData(const TrueTypeFont& font, uint16_t glyph) {
    if (glyph >= font.glyphCount) return {};
    const std::string_view loca = table(font, "loca");
    const uint32_t start = glyphLocation(font, loca, glyph);
    const uint32_t end = glyphLocation(font, loca, glyph + 1u);
    const std::string_view glyf = table(font, "glyf");
    if (end <= start || start >= glyf.size()) return {};
    return glyf.substr(start, end - start);
}

// Why the glyph locations cannot be used: too few for the glyph count, out
// of order, or beyond the glyph table. Empty when they can.
std::string glyphLocationFault(const TrueTypeFont& font) {
    const std::string_view loca = table(font, "loca"), glyf = table(font, "glyf");
    const size_t entry = font.longOffsets ? 4 : 2;
    if (loca.size() < (size_t{font.glyphCount} + 1) * entry)
        return "the glyph locations are fewer than the glyphs";
    uint32_t previous = 0;
    for (uint32_t glyph = 0; glyph <= font.glyphCount; ++glyph) {
        const uint32_t at = glyphLocation(font, loca, glyph);
        if (at < previous) return "the glyph locations are out of order";
        if (at > glyf.size()) return "a glyph lies beyond the end of the glyph table";
        previous = at;
    }
    return {};
}

// The flags of a composite glyph's parts.
constexpr uint16_t kWords = 0x0001, kOffset = 0x0002, kScale = 0x0008, kMore = 0x0020,
                   kXYScale = 0x0040, kTwoByTwo = 0x0080, kInstructions = 0x0100;

// Moves past a composite part's scale or matrix, which follows its placement.
void skipTransform(ByteReader& in, uint16_t flags) {
    skipBytes(in, (flags & kScale) ? 2 : (flags & kXYScale) ? 4 : (flags & kTwoByTwo) ? 8 : 0);
}

// A part of a composite glyph: the glyph, placed by an offset or by
// matching a point of the glyph built so far with a point of its own.
struct GlyphPart {
    uint16_t glyph = 0;
    bool matchesPoints = false;
    uint32_t builtPoint = 0, ownPoint = 0;
};

// What the outlines read so far are made of: each glyph's points (a
// composite's are its parts', counted once all are known) and the parts of
// the composites, in one list, with each glyph's range of it; and where
// each glyph stands in the reading and in the walk through the parts.
enum : uint8_t { kUnread, kRead, kOnPath, kDone };
struct Outlines {
    std::vector<uint32_t> points;
    std::vector<std::pair<uint32_t, uint32_t>> partsOf; // first, end
    std::vector<GlyphPart> parts;
    std::vector<uint8_t> state;
};

// Why a glyph's outline cannot be drawn; empty when it can or when it has
// none, with its points or parts added to `outlines`. A simple glyph's
// contours must end in order and its instructions, flags and coordinates lie
// within its data; a composite's parts must lie within it and be glyphs of
// the font.
std::string outlineFault(const TrueTypeFont& font, std::string_view data, uint32_t& points,
                         std::vector<GlyphPart>& parts) {
    if (data.empty()) return {};
    if (data.size() < 10) return "is shorter than a glyph's header";
    ByteReader in{data, 10};
    const int16_t contours = bigEndianInt16At(data, 0);
    if (contours < 0) {
        bool instructions = false;
        for (uint16_t flags = kMore; (flags & kMore) && !in.pastEnd;) {
            flags = readBigEndianUInt16(in);
            GlyphPart part;
            part.glyph = readBigEndianUInt16(in);
            if (part.glyph >= font.glyphCount) return "is built from a glyph the font lacks";
            part.matchesPoints = !(flags & kOffset);
            part.builtPoint = (flags & kWords) ? readBigEndianUInt16(in) : readByte(in);
            part.ownPoint = (flags & kWords) ? readBigEndianUInt16(in) : readByte(in);
            skipTransform(in, flags);
            parts.push_back(part);
            instructions = instructions || (flags & kInstructions);
        }
        if (instructions) skipBytes(in, readBigEndianUInt16(in)); // after the last part
        return in.pastEnd ? "runs past the end of its data" : "";
    }
    for (int16_t c = 0; c < contours && !in.pastEnd; ++c) {
        const uint32_t end = readBigEndianUInt16(in) + 1u;
        if (end <= points) return "has contours that end out of order";
        points = end;
    }
    skipBytes(in, readBigEndianUInt16(in)); // the instructions
    if (in.pastEnd) return "runs past the end of its data";
    // Each point's flags, some repeated, say how many bytes its coordinates
    // take. Read straight from the data, the bytes each flag stands for
    // looked up: a font has a hundred thousand.
    static constexpr std::array<uint8_t, 256> kCoordinateBytes = [] {
        // A coordinate takes a byte when short, none when it repeats the last, else two.
        const auto width = [](unsigned flags, unsigned isShort, unsigned isSame) {
            if (flags & isShort) return 1;
            return (flags & isSame) ? 0 : 2;
        };
        std::array<uint8_t, 256> bytes{};
        for (unsigned flags = 0; flags < 256; ++flags)
            bytes[flags] =
                static_cast<uint8_t>(width(flags, 0x02, 0x10) + width(flags, 0x04, 0x20));
        return bytes;
    }();
    const auto* flag = reinterpret_cast<const unsigned char*>(data.data()) + in.position;
    const auto* const dataEnd = reinterpret_cast<const unsigned char*>(data.data()) + data.size();
    size_t coordinates = 0;
    for (uint32_t point = 0; point < points;) {
        if (flag == dataEnd) return "runs past the end of its data";
        const unsigned char flags = *flag++;
        uint32_t count = 1;
        if (flags & 0x08) {
            if (flag == dataEnd) return "runs past the end of its data";
            count += *flag++;
        }
        if (count > points - point) return "repeats its flags past its points";
        coordinates += count * kCoordinateBytes[flags];
        point += count;
    }
    return coordinates > static_cast<size_t>(dataEnd - flag) ? "runs past the end of its data" : "";
}

// The glyphs a composite glyph is built from.
std::vector<uint16_t> componentsOf(std::string_view data) {
    std::vector<uint16_t> components;
    if (data.size() < 10 || bigEndianInt16At(data, 0) >= 0) return components;
    ByteReader in{data, 10};
    for (uint16_t flags = kMore; (flags & kMore) && remainingBytes(in) >= 4;) {
        flags = readBigEndianUInt16(in);
        components.push_back(readBigEndianUInt16(in));
        skipBytes(in, (flags & kWords) ? 4 : 2);
        skipTransform(in, flags);
    }
    return components;
}

// Counts a composite's points, whose parts' points are known, and checks
// that each part placed by points matches points that are there.
bool countCompositePoints(Outlines& outlines, uint16_t glyph) {
    uint64_t built = 0;
    for (uint32_t k = outlines.partsOf[glyph].first; k < outlines.partsOf[glyph].second; ++k) {
        const GlyphPart& part = outlines.parts[k];
        const uint32_t own = outlines.points[part.glyph];
        if (part.matchesPoints && (part.builtPoint >= built || part.ownPoint >= own)) return false;
        built = std::min<uint64_t>(built + own, UINT32_MAX);
    }
    outlines.points[glyph] = static_cast<uint32_t>(built);
    return true;
}

// Reads a glyph's outline into `outlines`: why it cannot be drawn, or empty.
std::string readOutline(const TrueTypeFont& font, Outlines& outlines, uint16_t glyph) {
    const auto first = static_cast<uint32_t>(outlines.parts.size());
    const std::string fault =
        outlineFault(font, glyphData(font, glyph), outlines.points[glyph], outlines.parts);
    if (!fault.empty()) return "glyph " + std::to_string(glyph) + " " + fault;
    outlines.partsOf[glyph] = {first, static_cast<uint32_t>(outlines.parts.size())};
    outlines.state[glyph] = kRead;
    return {};
}

// A depth-first walk through the parts from `root`, reading each glyph as
// it is met, which must never come back to a glyph still on its path; a
// glyph's points are counted as it is left, when those of its parts are known.
std::string walkParts(const TrueTypeFont& font, Outlines& outlines, uint16_t root) {
    std::vector<std::pair<uint16_t, uint32_t>> path; // glyph, its next part
    const auto enter = [&](uint16_t glyph) {
        std::string fault =
            outlines.state[glyph] == kUnread ? readOutline(font, outlines, glyph) : "";
        outlines.state[glyph] = kOnPath;
        path.emplace_back(glyph, outlines.partsOf[glyph].first);
        return fault;
    };
    if (outlines.state[root] == kDone) return {};
    if (std::string fault = enter(root); !fault.empty()) return fault;
    while (!path.empty()) {
        auto& [glyph, next] = path.back();
        const auto [first, end] = outlines.partsOf[glyph];
        if (next == end) {
            if (end != first && !countCompositePoints(outlines, glyph))
                return "glyph " + std::to_string(glyph) +
                       " places a part by a point that is not there";
            outlines.state[glyph] = kDone;
            path.pop_back();
            continue;
        }
        const uint16_t part = outlines.parts[next++].glyph;
        if (outlines.state[part] == kOnPath)
            return "glyph " + std::to_string(part) + " is built from itself";
        if (outlines.state[part] != kDone)
            if (std::string fault = enter(part); !fault.empty()) return fault;
    }
    return {};
}

Outlines noOutlinesRead(const TrueTypeFont& font) {
    Outlines outlines;
    outlines.points.resize(font.glyphCount);
    outlines.partsOf.resize(font.glyphCount);
    outlines.state.resize(font.glyphCount, kUnread);
    return outlines;
}

// Why some glyph cannot be drawn: its outline is damaged, a part is placed
// by a point that is not there, or it is built, through its parts, from
// itself. Empty when every glyph can be drawn. Every outline is read in
// order first, so the first damaged one is named.
std::string everyGlyphFault(const TrueTypeFont& font) {
    Outlines outlines = noOutlinesRead(font);
    for (uint32_t glyph = 0; glyph < font.glyphCount; ++glyph)
        if (std::string fault = readOutline(font, outlines, static_cast<uint16_t>(glyph));
            !fault.empty())
            return fault;
    if (outlines.parts.empty()) return {};
    for (uint32_t root = 0; root < font.glyphCount; ++root)
        if (std::string fault = walkParts(font, outlines, static_cast<uint16_t>(root));
            !fault.empty())
            return fault;
    return {};
}

void setBigEndianUInt16(std::string& data, size_t at, uint16_t value) {
    data[at] = static_cast<char>(value >> 8);
    data[at + 1] = static_cast<char>(value & 0xFF);
}

uint32_t tableChecksum(std::string_view data) {
    uint32_t sum = 0;
    ByteReader in{data};
    while (remainingBytes(in) > 0) sum += readBigEndianUInt32(in);
    return sum;
}

// Why the file's table directory and the tables every font needs cannot be
// used; empty when they can, with the font's numbers filled in.
std::string readTables(TrueTypeFont& font, uint32_t face, OutlineCheck check) {
    const std::string_view data(font.bytes);
    // A collection ("ttcf") lists where each face's table directory starts;
    // the tables' offsets count from the start of the file either way.
    size_t directory = 0;
    if (bigEndianUInt32At(data, 0) == 0x74746366) {
        if (data.size() < 12 || face >= bigEndianUInt32At(data, 8))
            return "the collection has no face " + std::to_string(face);
        if (16 + 4 * static_cast<size_t>(face) > data.size())
            return "the collection lists more faces than the file holds";
        directory = bigEndianUInt32At(data, 12 + 4 * static_cast<size_t>(face));
        if (directory > data.size() || data.size() - directory < 12)
            return "the face's tables start past the end of the file";
    } else if (face != 0) {
        return "the file is a single font, not a collection";
    }
    const uint32_t version = bigEndianUInt32At(data, directory);
    if (version == 0x4F54544F) return "the font's outlines are not TrueType outlines"; // "OTTO"
    if (version != 0x00010000 && version != 0x74727565) return "the file is no TrueType font";
    const uint16_t count = bigEndianUInt16At(data, directory + 4);
    if (directory + 12 + 16 * static_cast<size_t>(count) > data.size())
        return "the font lists more tables than the file holds";
    ByteReader records{data, directory + 12};
    for (uint16_t i = 0; i < count; ++i) {
        std::string tag = readPadded(records, 4);
        readBigEndianUInt32(records); // the checksum
        const uint32_t offset = readBigEndianUInt32(records), length = readBigEndianUInt32(records);
        if (offset > data.size() || length > data.size() - offset) {
            std::string shown = tag; // printable, as the message may be shown
            for (char& c : shown)
                if (c < 0x20 || c > 0x7E) c = '?';
            return "the table '" + shown + "' runs past the end of the file";
        }
        font.tables[std::move(tag)] = {offset, length};
    }
    // The shortest each table may be for what is read from it.
    const std::pair<const char*, size_t> needed[] = {{"head", 54}, {"hhea", 36}, {"maxp", 6},
                                                     {"hmtx", 4},  {"loca", 1},  {"glyf", 1},
                                                     {"cmap", 4}};
    for (const auto& [tag, shortest] : needed) {
        if (font.tables.find(tag) == font.tables.end())
            return std::string("the font has no '") + tag + "' table";
        if (table(font, tag).size() < shortest)
            return std::string("the '") + tag + "' table is shorter than " +
                   std::to_string(shortest) + (shortest == 1 ? " byte" : " bytes");
    }
    const std::string_view head = table(font, "head"), hhea = table(font, "hhea");
    font.unitsPerEm = bigEndianUInt16At(head, 18);
    // PDF readers refuse a font outside the range the format allows.
    if (font.unitsPerEm < 16 || font.unitsPerEm > 16384)
        return "the font's em is not between 16 and 16384 units";
    for (size_t k = 0; k < 4; ++k) font.box[k] = bigEndianInt16At(head, 36 + 2 * k);
    const int16_t locationFormat = bigEndianInt16At(head, 50);
    if (locationFormat != 0 && locationFormat != 1)
        return "the glyph locations are in an unknown format";
    font.longOffsets = locationFormat == 1;
    font.ascent = bigEndianInt16At(hhea, 4);
    font.descent = bigEndianInt16At(hhea, 6);
    font.horizontalMetricCount = bigEndianUInt16At(hhea, 34);
    font.glyphCount = bigEndianUInt16At(table(font, "maxp"), 4);
    if (font.glyphCount == 0) return "the font has no glyphs";
    if (font.horizontalMetricCount == 0) return "the font has no glyph widths";
    if (table(font, "hmtx").size() < 4 * size_t{font.horizontalMetricCount})
        return "the font has more glyph widths than its table holds";
    std::string fault = glyphLocationFault(font);
    return fault.empty() && check == OutlineCheck::EveryGlyph ? everyGlyphFault(font) : fault;
}

} // namespace

TrueTypeRead readTrueTypeFont(SharedBytes bytes, uint32_t face, OutlineCheck check) {
    TrueTypeFont font;
    font.bytes = std::move(bytes);
    std::string error = readTables(font, face, check);
    if (error.empty()) error = readCharacterMap(font);
    if (error.empty()) font.name = postScriptName(font, error);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(font), {}};
}

std::string glyphsFault(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs) {
    Outlines outlines = noOutlinesRead(font);
    for (const uint16_t glyph : glyphs) {
        if (glyph >= font.glyphCount)
            return "glyph " + std::to_string(glyph) + " is not in the font";
        if (std::string fault = walkParts(font, outlines, glyph); !fault.empty()) return fault;
    }
    return {};
}

uint16_t glyphOf(const TrueTypeFont& font, uint32_t codePoint) {
    const std::string_view cmap = table(font, "cmap");
    const uint16_t glyph = font.characterMapFormat == 12
                               ? format12Glyph(cmap, font.characterMapAt, codePoint)
                               : format4Glyph(cmap, font.characterMapAt, codePoint);
    return glyph < font.glyphCount ? glyph : 0;
}

uint32_t glyphWidth(const TrueTypeFont& font, uint16_t glyph) {
    const uint16_t metric = std::min<uint16_t>(glyph, font.horizontalMetricCount - 1);
    const uint32_t advance =
        bigEndianUInt16At(table(font, "hmtx"), 4 * static_cast<size_t>(metric));
    return (advance * 1000 + font.unitsPerEm / 2) / font.unitsPerEm;
}

std::string subsetTrueTypeFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs,
                               const std::map<std::string, std::string>& extraTables) {
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

    // The subset ends at the last glyph kept: the numbers of the glyphs kept
    // stay, and the font's locations and metrics of all the glyphs after
    // them (thousands, in a font for many scripts) are left out.
    const uint32_t count = *kept.rbegin() + 1u;
    std::string glyf, loca;
    for (uint32_t glyph = 0; glyph < count; ++glyph) {
        putBigEndianUInt32(loca, static_cast<uint32_t>(glyf.size()));
        if (!kept.count(static_cast<uint16_t>(glyph))) continue;
        glyf += glyphData(font, static_cast<uint16_t>(glyph));
        while (glyf.size() % 4 != 0) glyf += '\0';
    }
    putBigEndianUInt32(loca, static_cast<uint32_t>(glyf.size()));

    std::string head(table(font, "head"));
    if (head.size() >= 54) {                      // as the reader checked
        head.replace(8, 4, std::string(4, '\0')); // the whole file's check, left at zero
        head[50] = 0;
        head[51] = 1; // 32-bit glyph locations
    }
    std::string maxp(table(font, "maxp")), hhea(table(font, "hhea"));
    setBigEndianUInt16(maxp, 4, static_cast<uint16_t>(count)); // both as long as the reader checked
    // The metrics are a width and a side bearing for each of the first
    // glyphs and a side bearing alone for the rest: the subset's are the
    // start of the font's.
    const uint32_t metrics = std::min<uint32_t>(font.horizontalMetricCount, count);
    setBigEndianUInt16(hhea, 34, static_cast<uint16_t>(metrics));
    const std::string_view hmtx =
        table(font, "hmtx").substr(0, 4 * size_t{metrics} + 2 * size_t{count - metrics});
    std::map<std::string, std::string> tables = {{"head", head}, {"hhea", hhea},
                                                 {"maxp", maxp}, {"hmtx", std::string(hmtx)},
                                                 {"loca", loca}, {"glyf", glyf}};
    for (const char* hinting : {"cvt ", "fpgm", "prep"})
        if (!table(font, hinting).empty()) tables[hinting] = std::string(table(font, hinting));
    tables.insert(extraTables.begin(), extraTables.end());
    return trueTypeFile(tables);
}

std::string trueTypeFile(const std::map<std::string, std::string>& tables) {
    const auto count = static_cast<uint16_t>(tables.size());
    uint16_t power = 1, log = 0;
    while (power * 2 <= count) {
        power = static_cast<uint16_t>(power * 2);
        ++log;
    }
    std::string out;
    putBigEndianUInt32(out, 0x00010000);
    putBigEndianUInt16(out, count);
    putBigEndianUInt16(out, static_cast<uint16_t>(power * 16u));
    putBigEndianUInt16(out, log);
    putBigEndianUInt16(out, static_cast<uint16_t>(count * 16u - power * 16u));
    size_t offset = 12 + 16 * static_cast<size_t>(count);
    for (const auto& [tag, data] : tables) {
        std::string fourBytes = tag;
        fourBytes.resize(4, ' ');
        out += fourBytes;
        putBigEndianUInt32(out, tableChecksum(data));
        putBigEndianUInt32(out, static_cast<uint32_t>(offset));
        putBigEndianUInt32(out, static_cast<uint32_t>(data.size()));
        offset += (data.size() + 3) / 4 * 4;
    }
    for (const auto& [tag, data] : tables) {
        out += data;
        while (out.size() % 4 != 0) out += '\0';
    }
    return out;
}

} // namespace plaxet
