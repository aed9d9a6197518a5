#pragma once
// The font table: fonts are known by a small number and shared. Each is made
// once for every DPI a window asks it for, so text keeps its size in points
// on every monitor. Font 1 is the default form font, "MS Sans Serif" 8 points.
#include <windows.h>

#include <string_view>

namespace plaxet {

inline constexpr int kDefaultFormFont = 1;

enum FontStyle : int {
    kFontBold = 1,
    kFontItalic = 2,
    kFontUnderline = 4,
    kFontStrikeOut = 8,
};

// The number of a font with these properties, added to the table when no
// equal font is there yet. Points 0 means 8; the face keeps 31 characters.
int FontNew(std::string_view face, int points, int style = 0);

// The font's handle for a window at `dpi`, made on first use; null for an
// unknown number.
HFONT fontHandle(int number, int dpi);
// The character height in pixels of a font of `points` at `dpi` (negative,
// as LOGFONT wants it).
int fontPixelHeight(int points, int dpi);

} // namespace plaxet
