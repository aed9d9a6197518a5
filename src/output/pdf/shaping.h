#pragma once
// The system's text engine, for the texts whose letters change with their
// neighbours or run from right to left: the bidirectional algorithm's levels
// of a line's characters, and a run of one face's characters shaped into
// glyphs (joined, with their marks placed and the ligatures the font
// requires). HarfBuzz and FriBidi on Linux, Uniscribe on Windows, each loaded
// the first time a text needs it.
#include "output/pdf/truetype.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace plaxet {

// One glyph of a shaped run, in font units. `cluster` is the index, in the
// run's characters, of the first character the glyph shows.
struct ShapedGlyph {
    uint16_t glyph = 0;
    int32_t advance = 0;
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    uint32_t cluster = 0;
};

// The embedding level of each character of a line of a left-to-right
// paragraph (even: left to right, odd: right to left); nothing when the
// system's engine cannot be had.
std::optional<std::vector<uint8_t>> bidiLevels(std::u32string_view line);

// A run of characters of one face and one direction, shaped: its glyphs
// from left to right as they are drawn; nothing when the system's engine
// cannot be had or cannot shape with this face.
std::optional<std::vector<ShapedGlyph>> shapeRun(const TrueTypeFont& font,
                                                 std::u32string_view characters, bool rightToLeft);

} // namespace plaxet
