#include "output/pdf/shaped_text.h"

#include "output/pdf/truetype.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <utility>

namespace plaxet {
namespace {

bool shapedCharacter(uint32_t c) {
    return (c >= 0x0300 && c <= 0x036F) ||   // combining marks
           (c >= 0x0590 && c <= 0x08FF) ||   // Hebrew, Arabic, Syriac, Thaana, N'Ko and others
           (c >= 0x0900 && c <= 0x0DFF) ||   // the Indic scripts
           (c >= 0x0E00 && c <= 0x0FFF) ||   // Thai, Lao, Tibetan
           (c >= 0x1000 && c <= 0x109F) ||   // Myanmar
           (c >= 0x1780 && c <= 0x17FF) ||   // Khmer
           (c >= 0x1AB0 && c <= 0x1AFF) ||   // more combining marks
           (c >= 0x1DC0 && c <= 0x1DFF) ||   //
           (c >= 0x200C && c <= 0x200F) ||   // joiners and direction marks
           (c >= 0x202A && c <= 0x202E) ||   // direction embeddings
           (c >= 0x2066 && c <= 0x2069) ||   // direction isolates
           (c >= 0x20D0 && c <= 0x20FF) ||   // marks for symbols
           (c >= 0xFB1D && c <= 0xFDFF) ||   // Hebrew and Arabic presentation forms
           (c >= 0xFE20 && c <= 0xFE2F) ||   // half marks
           (c >= 0xFE70 && c <= 0xFEFF) ||   // Arabic presentation forms
           (c >= 0x10800 && c <= 0x10FFF) || // historic right-to-left scripts
           (c >= 0x1E800 && c <= 0x1EFFF);   // Adlam and other right-to-left scripts
}

// The bracket a right-to-left run shows for one typed in it, as the
// standard fonts have no mirrored forms of their own.
uint32_t mirrored(uint32_t c) {
    static constexpr std::pair<uint32_t, uint32_t> kPairs[] = {
        {'(', ')'}, {'[', ']'}, {'{', '}'}, {'<', '>'}, {0xAB, 0xBB}, {0x2039, 0x203A}};
    for (const auto& [open, close] : kPairs) {
        if (c == open) return close;
        if (c == close) return open;
    }
    return c;
}

// What draws one character: the standard font (with its bytes), or a face.
struct Drawer {
    std::optional<size_t> face;
    bool operator==(const Drawer&) const = default;
};

// A piece of the line in typed order: its characters [from, to), one level, one drawer.
struct Segment {
    size_t from = 0, to = 0;
    uint8_t level = 0;
    Drawer drawer;
};

// Rule L2 of the bidirectional algorithm on whole segments: from the highest
// level down to the lowest odd one, every stretch at that level or above is
// reversed.
void reorder(std::vector<Segment>& segments) {
    uint8_t highest = 0, lowestOdd = 0xFF;
    for (const Segment& s : segments) {
        highest = std::max(highest, s.level);
        if (s.level % 2 == 1) lowestOdd = std::min(lowestOdd, s.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level)
        for (size_t i = 0; i < segments.size();) {
            if (segments[i].level < level) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < segments.size() && segments[end].level >= level) ++end;
            std::reverse(segments.begin() + static_cast<std::ptrdiff_t>(i),
                         segments.begin() + static_cast<std::ptrdiff_t>(end));
            i = end;
        }
}

uint32_t standardWidth(const PdfFonts& fonts, PdfFont font, unsigned char byte) {
    const PdfGlyph& glyph = fonts.encoding->glyphs[byte];
    return font == PdfFont::Bold ? glyph.boldWidth : glyph.regularWidth;
}

ShapedRun standardRun(const PdfFonts& fonts, PdfFont font, std::u32string_view characters,
                      bool rightToLeft) {
    ShapedRun run;
    run.rightToLeft = rightToLeft;
    run.characters.assign(characters);
    for (size_t i = 0; i < characters.size(); ++i) {
        const uint32_t c =
            rightToLeft ? mirrored(characters[characters.size() - 1 - i]) : characters[i];
        std::string bytes;
        if (const std::optional<unsigned char> byte = standardFontByte(*fonts.encoding, c)) {
            bytes = static_cast<char>(*byte);
        } else {
            std::string character;
            appendUtf8(character, c);
            bytes = standardFontStandIn(*fonts.encoding, character);
        }
        for (const char b : bytes)
            run.width += standardWidth(fonts, font, static_cast<unsigned char>(b));
        run.bytes += bytes;
    }
    return run;
}

ShapedRun faceRun(const PdfFonts& fonts, PdfFont font, size_t face, std::u32string_view characters,
                  bool rightToLeft) {
    const TrueTypeFont& ttf = *fonts.others[face].font;
    ShapedRun run;
    run.face = face;
    run.stroked = font == PdfFont::Bold && !fonts.others[face].bold;
    run.rightToLeft = rightToLeft;
    run.characters.assign(characters);
    if (std::optional<std::vector<ShapedGlyph>> shaped = shapeRun(ttf, characters, rightToLeft)) {
        run.glyphs = std::move(*shaped);
    } else { // no engine: each character's own glyph, in the run's direction
        for (size_t i = 0; i < characters.size(); ++i) {
            const size_t at = rightToLeft ? characters.size() - 1 - i : i;
            const uint16_t glyph = glyphOf(ttf, characters[at]);
            run.glyphs.push_back(
                {glyph, static_cast<int32_t>(glyphWidth(ttf, glyph) * ttf.unitsPerEm / 1000), 0, 0,
                 static_cast<uint32_t>(at)});
        }
    }
    int64_t units = 0;
    for (const ShapedGlyph& glyph : run.glyphs) units += glyph.advance;
    run.width = static_cast<uint64_t>(std::max<int64_t>(0, units * 1000 / ttf.unitsPerEm));
    return run;
}

} // namespace

bool needsShaping(std::string_view text) {
    if (isAscii(text)) return false;
    for (size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        if (shapedCharacter(nextCodePoint(text, at))) return true;
    }
    return false;
}

ShapedLine shapedLine(const PdfFonts& fonts, PdfFont font, std::string_view text) {
    std::u32string characters;
    for (size_t at = 0; at < text.size();)
        if (const uint32_t c = nextCodePoint(text, at); c != kSoftHyphenCodePoint)
            characters += static_cast<char32_t>(c);
    std::vector<uint8_t> levels =
        bidiLevels(characters).value_or(std::vector<uint8_t>(characters.size(), 0));
    // Blanks at the end of the line take the paragraph's direction (rule L1).
    for (size_t i = characters.size(); i > 0 && characters[i - 1] == U' '; --i) levels[i - 1] = 0;

    std::vector<Segment> segments;
    for (size_t i = 0; i < characters.size(); ++i) {
        const uint32_t c = characters[i];
        const Drawer drawer{standardFontByte(*fonts.encoding, c) ? std::nullopt
                                                                 : otherFaceIndex(fonts, font, c)};
        if (segments.empty() || segments.back().level != levels[i] ||
            !(segments.back().drawer == drawer))
            segments.push_back({i, i, levels[i], drawer});
        segments.back().to = i + 1;
    }
    reorder(segments);

    ShapedLine line;
    for (const Segment& s : segments) {
        const std::u32string_view piece =
            std::u32string_view(characters).substr(s.from, s.to - s.from);
        const bool rightToLeft = s.level % 2 == 1;
        line.runs.push_back(s.drawer.face ? faceRun(fonts, font, *s.drawer.face, piece, rightToLeft)
                                          : standardRun(fonts, font, piece, rightToLeft));
        line.runs.back().from = s.from;
        line.width += line.runs.back().width;
    }
    return line;
}

double lineWidth(const PdfFonts& fonts, PdfFont font, std::string_view text, double size) {
    if (!needsShaping(text)) return textWidth(fonts, font, text, size);
    return static_cast<double>(shapedLine(fonts, font, text).width) * size / 1000.0;
}

} // namespace plaxet
