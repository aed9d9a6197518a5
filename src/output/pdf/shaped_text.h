#pragma once
// A line of text as the PDF draws it when its letters join, carry marks or
// run from right to left: the runs of one font in the order they stand on
// the page, each face's run shaped into glyphs by the system's engine, and
// the line's width from those glyphs. Lines of other scripts are drawn
// character by character and never come here.
#include "output/pdf/fonts.h"
#include "output/pdf/shaping.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// True when a text holds a character whose shape or place depends on its
// neighbours: a right-to-left letter, a joined or Indic script, a combining
// mark, a direction or joining control.
bool needsShaping(std::string_view text);

// One piece of a shaped line in one font, as drawn from left to right.
struct ShapedRun {
    std::optional<size_t> face; // none: the standard font
    bool stroked = false;       // a regular face standing in for bold
    bool rightToLeft = false;   // its glyphs stand in the reverse of the typed order
    size_t from = 0;            // where its characters start in the line as typed
    std::string bytes;          // the standard font's code-page bytes
    std::vector<ShapedGlyph> glyphs;
    std::u32string characters; // as typed; a face's glyphs' clusters index them
    uint64_t width = 0;        // in thousandths of the font size
};

struct ShapedLine {
    std::vector<ShapedRun> runs; // from left to right
    uint64_t width = 0;          // in thousandths of the font size
};

// The line ordered by the bidirectional algorithm in a left-to-right
// paragraph, split where the font changes, with each face's runs shaped.
// Without the system's engine the characters keep their typed order and
// their plain glyphs.
ShapedLine shapedLine(const PdfFonts& fonts, PdfFont font, std::string_view text);

// The width of a line in points at `size` points: shaped where it needs to be.
double lineWidth(const PdfFonts& fonts, PdfFont font, std::string_view text, double size);

} // namespace plaxet
