#pragma once
// The pieces that make the PDF of an invoice that carries its e-invoice an
// archival file (PDF/A-3, level B) with that XML attached: the XMP
// metadata, the sRGB output intent, the attached file, and the embedded
// faces that stand in for the standard fonts (which an archival file may
// not leave to the viewer). The writer (writer.h) puts them in place.
#include "output/document_settings.h"
#include "output/pdf/fonts.h"
#include "output/pdf/layout.h"
#include "output/pdf/truetype.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// The name the e-invoice is attached under, where its readers look for it.
inline constexpr std::string_view kEInvoiceFileName = "factur-x.xml";

// The sRGB ICC profile (version 2, a monitor profile), built into the
// program from the file found on the build machine (CMakeLists.txt).
extern const std::string_view kSrgbProfile;

// The archival faces, read: they draw the text the standard fonts would.
struct ArchivalFonts {
    TrueTypeFont regular;
    TrueTypeFont bold;
};

// Both faces, or nothing and why (a file missing, or no usable TrueType
// font). Their outlines are left to archivalFontsCover.
struct ArchivalFontsRead {
    std::optional<ArchivalFonts> fonts;
    std::string error;
};
ArchivalFontsRead readArchivalFonts(const ArchivalFontFiles& files);

// What the archival PDF carries beyond the plain one.
struct PdfArchival {
    const ArchivalFonts* faces = nullptr;
    ContentProducer eInvoiceXml;
};

// Whether the faces have a glyph for every byte the layout draws in the
// standard fonts' encoding, whose outlines (and the missing glyph's) can be
// drawn, and the other faces one for every character they draw: an archival
// file may draw no missing glyph.
bool archivalFontsCover(const PdfLayout& layout, const PdfFonts& fonts, const ArchivalFonts& faces);

// What the file says about itself, the same in its information dictionary
// and its XMP metadata, as it must be. Texts are UTF-8 without control
// characters (archivalText); an empty author is left out of both.
struct ArchivalMetadata {
    std::string title;
    std::string author;
    std::string producer; // also the creating tool
    int64_t time = 0;     // creation and modification, seconds since 1970 (UTC)
};

// A text for the metadata: each control character (which XML cannot hold)
// becomes a blank, as the page shows it.
std::string archivalText(std::string_view text);

// "D:YYYYMMDDHHmmSSZ", the PDF's date of a time in seconds since 1970 (UTC),
// and "YYYY-MM-DDTHH:mm:SSZ", XMP's, both on the proleptic Gregorian calendar.
std::string pdfDate(int64_t seconds);
std::string xmpDate(int64_t seconds);

// The XMP packet: the archival part and level (3, B), the title, author,
// dates and producer, and the e-invoice's extension schema with its values
// (an invoice, its file name, version 1.0, the EN 16931 profile).
std::string xmpMetadata(const ArchivalMetadata& metadata);

// One object of the archival PDF, which the writer numbers and writes.
struct PdfObjectText {
    std::string dictionary; // a whole dictionary; for a stream, its entries after /Length
    bool isStream = false;
    std::string data;       // a stream's contents
    bool compressed = true; // the metadata must stay readable without decoding
    // An attached file's contents, made while the stream is written and used
    // instead of `data` when set (the e-invoice runs to megabytes and is never
    // held whole). Its size, known only then, closes the dictionary's
    // /Params: the writer adds " /Size N >>".
    ContentProducer attached = {};
};

struct ArchivalParts {
    std::string regularFont, boldFont;  // the dictionaries of /F1 and /F2
    std::string catalogEntries;         // /Metadata, /OutputIntents, /AF and /Names
    std::vector<PdfObjectText> objects; // numbered `first`, `first` + 1, ...
    size_t first = 0;
};

// The parts of the archival PDF of `layout`: /F1 and /F2 as TrueType fonts
// in the standard fonts' encoding (`encoding`: its /Encoding value) cut
// down to the bytes the layout draws, with their widths from the faces and a
// Unicode character map, the metadata, the output intent and the attached
// e-invoice. The faces must cover the layout (archivalFontsCover).
ArchivalParts archivalParts(const PdfLayout& layout, const PdfFonts& fonts,
                            const PdfArchival& archival, std::string_view encoding,
                            const ArchivalMetadata& metadata, size_t first);

} // namespace plaxet
