#pragma once
// Which font face draws each character of a document that the standard
// fonts lack: the first of the settings' font files that has it, then a face
// already taken for another character, then the faces the system suggests.
// Bold text takes a bold face where one has the character; otherwise the
// regular face, which the writer draws with a stroke.
#include "output/document_settings.h"
#include "output/pdf/fonts.h"
#include "output/pdf/truetype.h"

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

namespace plaxet {

struct FontChoice {
    FontChoice() = default;
    // `fonts` points into `loaded`, whose elements stay where they are when
    // the choice is moved, but not when it is copied.
    FontChoice(const FontChoice&) = delete;
    FontChoice& operator=(const FontChoice&) = delete;
    FontChoice(FontChoice&&) = default;
    FontChoice& operator=(FontChoice&&) = default;

    std::deque<TrueTypeFont> loaded; // every face read that was usable
    PdfFonts fonts;
    // Characters no face on this computer has, in code point order: drawn as
    // the first face's missing-glyph box.
    std::vector<uint32_t> undrawable;
    std::vector<std::string> refused; // "<file>: <why>" for each face that could not be read
};

// The faces for `characters` (none of which the encoding's standard fonts
// show), reading each font file at most once and only when a character
// needs it.
FontChoice chooseFonts(const std::set<uint32_t>& characters, const PdfCodePage& encoding,
                       const DocumentSettings& settings);

} // namespace plaxet
