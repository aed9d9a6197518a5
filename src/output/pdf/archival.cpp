#include "output/pdf/archival.h"

#include "runtime/binary.h"
#include "runtime/calendar.h"
#include "runtime/file.h"
#include "runtime/utf8.h"

#include <array>
#include <bitset>
#include <cmath>
#include <cstdio>
#include <map>

namespace plaxet {
namespace {

using DrawnBytes = std::bitset<256>;

// The bytes each standard font draws in the layout ([0] regular, [1] bold),
// as the writer picks them: a character's byte in the encoding, nothing
// for one an other face draws, and otherwise its nearest text's bytes.
std::array<DrawnBytes, 2> drawnBytes(const PdfLayout& layout, const PdfFonts& fonts) {
    std::array<DrawnBytes, 2> drawn;
    for (DrawnBytes& bytes : drawn) bytes.set(' '); // each font shows at least a blank
    for (const PdfPage& page : layout.pages)
        for (const PdfText& text : page.texts) {
            DrawnBytes& bytes = drawn[text.font == PdfFont::Bold ? 1 : 0];
            for (size_t at = 0; at < text.text.size();) {
                const size_t start = at;
                const uint32_t codePoint = nextCodePoint(text.text, at);
                if (const std::optional<unsigned char> byte =
                        standardFontByte(*fonts.encoding, codePoint))
                    bytes.set(*byte);
                else if (!otherFaceIndex(fonts, text.font, codePoint))
                    for (const char c :
                         standardFontStandIn(*fonts.encoding,
                                             std::string_view(text.text).substr(start, at - start)))
                        bytes.set(static_cast<unsigned char>(c));
            }
        }
    return drawn;
}

// The character a byte's glyph name stands for, as a viewer finds the glyph
// of a TrueType font through its Unicode character map: the character of
// the first byte with that name ("hyphen" is U+002D also where the code page
// gives it to the soft hyphen's byte, "space" U+0020 also for the no-break
// space's). Nothing for a byte without a glyph.
std::optional<uint32_t> characterOfByte(const PdfCodePage& encoding, unsigned char byte) {
    const char* name = encoding.glyphs[byte].name;
    if (!name) return std::nullopt;
    for (const PdfGlyph& glyph : encoding.glyphs)
        if (glyph.name && std::string_view(glyph.name) == name) return glyph.codePoint;
    return encoding.glyphs[byte].codePoint;
}

// The face's glyph for each byte drawn; nothing when a byte has none.
std::optional<std::map<unsigned char, uint16_t>>
glyphsOfBytes(const TrueTypeFont& face, const PdfCodePage& encoding, const DrawnBytes& bytes) {
    std::map<unsigned char, uint16_t> glyphs;
    for (size_t byte = 0; byte < 256; ++byte) {
        if (!bytes.test(byte)) continue;
        const std::optional<uint32_t> character =
            characterOfByte(encoding, static_cast<unsigned char>(byte));
        const uint16_t glyph = character ? glyphOf(face, *character) : 0;
        if (glyph == 0) return std::nullopt;
        glyphs.emplace(static_cast<unsigned char>(byte), glyph);
    }
    return glyphs;
}

// A character map of one Unicode (3,1) subtable in format 4, with a
// segment for each run of characters whose glyphs follow one another.
std::string unicodeCharacterMap(const std::map<uint16_t, uint16_t>& glyphOfCharacter) {
    struct Segment {
        uint16_t first, last, delta;
    };
    std::vector<Segment> segments;
    for (const auto& [character, glyph] : glyphOfCharacter) {
        const auto delta = static_cast<uint16_t>(glyph - character);
        if (!segments.empty() && segments.back().last + 1 == character &&
            segments.back().delta == delta)
            segments.back().last = character;
        else
            segments.push_back({character, character, delta});
    }
    segments.push_back({0xFFFF, 0xFFFF, 1}); // the closing segment every format 4 map ends with
    const auto count = static_cast<uint16_t>(segments.size());
    uint16_t searchRange = 2, entrySelector = 0;
    while (searchRange * 2 <= 2 * count) {
        searchRange = static_cast<uint16_t>(searchRange * 2);
        ++entrySelector;
    }
    std::string map;
    putBigEndianUInt16(map, 0); // version
    putBigEndianUInt16(map, 1); // one subtable
    putBigEndianUInt16(map, 3); // Windows
    putBigEndianUInt16(map, 1); // Unicode, the basic plane
    putBigEndianUInt32(map, 12);
    putBigEndianUInt16(map, 4);
    putBigEndianUInt16(map, static_cast<uint16_t>(16 + 8 * count));
    putBigEndianUInt16(map, 0); // language
    putBigEndianUInt16(map, static_cast<uint16_t>(2 * count));
    putBigEndianUInt16(map, searchRange);
    putBigEndianUInt16(map, entrySelector);
    putBigEndianUInt16(map, static_cast<uint16_t>(2 * count - searchRange));
    for (const Segment& s : segments) putBigEndianUInt16(map, s.last);
    putBigEndianUInt16(map, 0); // padding
    for (const Segment& s : segments) putBigEndianUInt16(map, s.first);
    for (const Segment& s : segments) putBigEndianUInt16(map, s.delta);
    for (size_t s = 0; s < segments.size(); ++s) putBigEndianUInt16(map, 0); // no glyph arrays
    return map;
}

std::string reference(size_t object) {
    return std::to_string(object) + " 0 R";
}

// A face as the TrueType font /F1 or /F2 (the font dictionary), with its
// descriptor and its file as the next two objects.
std::string appendFace(const TrueTypeFont& face, const PdfCodePage& encoding,
                       std::string_view encodingValue, const DrawnBytes& bytes, size_t first,
                       std::vector<PdfObjectText>& objects) {
    const std::map<unsigned char, uint16_t> glyphs = *glyphsOfBytes(face, encoding, bytes);
    const size_t descriptor = first + objects.size(), fontFile = descriptor + 1;
    std::map<uint16_t, uint16_t> glyphOfCharacter;
    std::vector<uint16_t> kept;
    uint32_t tag = 0x811C9DC5u;
    for (const auto& [byte, glyph] : glyphs) {
        const uint32_t character = *characterOfByte(encoding, byte);
        if (character <= 0xFFFF) glyphOfCharacter[static_cast<uint16_t>(character)] = glyph;
        kept.push_back(glyph);
        tag = (tag ^ byte) * 0x01000193u;
    }
    const unsigned firstByte = glyphs.begin()->first, lastByte = glyphs.rbegin()->first;
    std::string widths;
    for (unsigned byte = firstByte; byte <= lastByte; ++byte) {
        const auto found = glyphs.find(static_cast<unsigned char>(byte));
        widths += std::to_string(found == glyphs.end() ? 0 : glyphWidth(face, found->second));
        widths += (byte - firstByte) % 16 == 15 ? '\n' : ' ';
    }
    widths.pop_back();
    // The subset's name: six capitals from the bytes it holds, a plus, the face's name.
    std::string name;
    for (int k = 0; k < 6; ++k, tag /= 26) name += static_cast<char>('A' + tag % 26);
    name += '+' + face.name;
    const double scale = 1000.0 / face.unitsPerEm;
    const auto scaled = [&](int value) { return std::to_string(std::lround(value * scale)); };

    objects.push_back({"<< /Type /FontDescriptor /FontName /" + name + " /Flags 32\n/FontBBox [" +
                           scaled(face.box[0]) + " " + scaled(face.box[1]) + " " +
                           scaled(face.box[2]) + " " + scaled(face.box[3]) +
                           "] /ItalicAngle 0 /Ascent " + scaled(face.ascent) + " /Descent " +
                           scaled(face.descent) + " /CapHeight " + scaled(face.ascent) +
                           " /StemV 80 /FontFile2 " + reference(fontFile) + " >>",
                       false,
                       {}});
    std::string subset =
        subsetTrueTypeFont(face, kept, {{"cmap", unicodeCharacterMap(glyphOfCharacter)}});
    const std::string length = " /Length1 " + std::to_string(subset.size());
    // Stored as it is: outlines compress by less than a third (a subset of
    // 15 kB to 10 kB), and compressing the two took a tenth of the time
    // Create Files takes for a one-page invoice.
    objects.push_back({length, true, std::move(subset), false});
    return "<< /Type /Font /Subtype /TrueType /BaseFont /" + name + " /FirstChar " +
           std::to_string(firstByte) + " /LastChar " + std::to_string(lastByte) + "\n/Widths [" +
           widths + "]\n/Encoding " + std::string(encodingValue) + " /FontDescriptor " +
           reference(descriptor) + " >>";
}

void appendXmlText(std::string& out, std::string_view text) {
    for (const char c : text) switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
}

// The days and the time of day of a time in seconds since 1970.
struct DayAndTime {
    CivilDate date;
    int64_t hour, minute, second;
};

DayAndTime dayAndTime(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    return {civilDate(days), rest / 3600, rest / 60 % 60, rest % 60};
}

// The e-invoice's extension schema: each property's name and what it holds.
constexpr std::pair<const char*, const char*> kInvoiceProperties[] = {
    {"DocumentFileName", "The name of the embedded XML document"},
    {"DocumentType", "The type of the hybrid document in capital letters, e.g. INVOICE"},
    {"Version", "The version of the XML schema of the embedded document"},
    {"ConformanceLevel", "The profile of the embedded XML document"},
};

} // namespace

ArchivalFontsRead readArchivalFonts(const ArchivalFontFiles& files) {
    ArchivalFontsRead read;
    ArchivalFonts fonts;
    for (auto [path, face] :
         {std::pair{&files.regular, &fonts.regular}, std::pair{&files.bold, &fonts.bold}}) {
        if (path->empty()) {
            read.error = "no archival font file is set";
            return read;
        }
        std::optional<SharedBytes> bytes = readSharedFile(*path);
        if (!bytes) {
            read.error = *path + ": cannot be read";
            return read;
        }
        // Their outlines are checked when it is known which glyphs are drawn
        // (archivalFontsCover): a document draws a few dozen of thousands.
        TrueTypeRead font = readTrueTypeFont(std::move(*bytes), 0, OutlineCheck::WhenDrawn);
        if (!font.font) {
            read.error = *path + ": " + font.error;
            return read;
        }
        *face = std::move(*font.font);
    }
    read.fonts = std::move(fonts);
    return read;
}

bool archivalFontsCover(const PdfLayout& layout, const PdfFonts& fonts,
                        const ArchivalFonts& faces) {
    const std::array<DrawnBytes, 2> drawn = drawnBytes(layout, fonts);
    for (const auto& [face, bytes] :
         {std::pair{&faces.regular, &drawn[0]}, std::pair{&faces.bold, &drawn[1]}}) {
        const std::optional<std::map<unsigned char, uint16_t>> glyphs =
            glyphsOfBytes(*face, *fonts.encoding, *bytes);
        if (!glyphs) return false;
        std::vector<uint16_t> drawnGlyphs{0}; // every subset keeps the missing glyph
        for (const auto& [byte, glyph] : *glyphs) drawnGlyphs.push_back(glyph);
        if (!glyphsFault(*face, drawnGlyphs).empty()) return false;
    }
    // A character no face has is drawn as a face's missing glyph.
    for (const PdfPage& page : layout.pages)
        for (const PdfText& text : page.texts)
            for (size_t at = 0; at < text.text.size();) {
                const uint32_t codePoint = nextCodePoint(text.text, at);
                if (standardFontByte(*fonts.encoding, codePoint)) continue;
                if (const std::optional<size_t> face = otherFaceIndex(fonts, text.font, codePoint))
                    if (glyphOf(*fonts.others[*face].font, codePoint) == 0) return false;
            }
    return true;
}

std::string archivalText(std::string_view text) {
    std::string plain(text);
    for (char& c : plain)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return plain;
}

namespace {

// A time in seconds since 1970 (UTC) in a format of six numbers: year,
// month, day, hour, minute, second.
std::string timeText(int64_t seconds, const char* format) {
    const DayAndTime t = dayAndTime(seconds);
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<long long>(t.date.year),
                  static_cast<long long>(t.date.month), static_cast<long long>(t.date.day),
                  static_cast<long long>(t.hour), static_cast<long long>(t.minute),
                  static_cast<long long>(t.second));
    return text;
}

} // namespace

std::string pdfDate(int64_t seconds) {
    return timeText(seconds, "D:%04lld%02lld%02lld%02lld%02lld%02lldZ");
}

std::string xmpDate(int64_t seconds) {
    return timeText(seconds, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ");
}

std::string xmpMetadata(const ArchivalMetadata& metadata) {
    const std::string date = xmpDate(metadata.time);
    std::string xmp = "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                      "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                      "<rdf:Description rdf:about=\"\" "
                      "xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                      "<pdfaid:part>3</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n"
                      "</rdf:Description>\n"
                      "<rdf:Description rdf:about=\"\" "
                      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                      "<dc:format>application/pdf</dc:format>\n"
                      "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">";
    appendXmlText(xmp, metadata.title);
    xmp += "</rdf:li></rdf:Alt></dc:title>\n";
    if (!metadata.author.empty()) {
        xmp += "<dc:creator><rdf:Seq><rdf:li>";
        appendXmlText(xmp, metadata.author);
        xmp += "</rdf:li></rdf:Seq></dc:creator>\n";
    }
    xmp += "</rdf:Description>\n"
           "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
           "<xmp:CreatorTool>";
    appendXmlText(xmp, metadata.producer);
    xmp += "</xmp:CreatorTool>\n<xmp:CreateDate>" + date + "</xmp:CreateDate>\n<xmp:ModifyDate>" +
           date + "</xmp:ModifyDate>\n<xmp:MetadataDate>" + date +
           "</xmp:MetadataDate>\n</rdf:Description>\n"
           "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
           "<pdf:Producer>";
    appendXmlText(xmp, metadata.producer);
    xmp += "</pdf:Producer>\n</rdf:Description>\n"
           "<rdf:Description rdf:about=\"\" "
           "xmlns:pdfaExtension=\"http://www.aiim.org/pdfa/ns/extension/\" "
           "xmlns:pdfaSchema=\"http://www.aiim.org/pdfa/ns/schema#\" "
           "xmlns:pdfaProperty=\"http://www.aiim.org/pdfa/ns/property#\">\n"
           "<pdfaExtension:schemas><rdf:Bag><rdf:li rdf:parseType=\"Resource\">\n"
           "<pdfaSchema:schema>Factur-X PDFA Extension Schema</pdfaSchema:schema>\n"
           "<pdfaSchema:namespaceURI>urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#"
           "</pdfaSchema:namespaceURI>\n<pdfaSchema:prefix>fx</pdfaSchema:prefix>\n"
           "<pdfaSchema:property><rdf:Seq>\n";
    for (const auto& [name, description] : kInvoiceProperties)
        xmp += std::string("<rdf:li rdf:parseType=\"Resource\"><pdfaProperty:name>") + name +
               "</pdfaProperty:name><pdfaProperty:valueType>Text</pdfaProperty:valueType>"
               "<pdfaProperty:category>external</pdfaProperty:category>"
               "<pdfaProperty:description>" +
               description + "</pdfaProperty:description></rdf:li>\n";
    xmp += "</rdf:Seq></pdfaSchema:property>\n</rdf:li></rdf:Bag></pdfaExtension:schemas>\n"
           "</rdf:Description>\n"
           "<rdf:Description rdf:about=\"\" "
           "xmlns:fx=\"urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#\">\n"
           "<fx:DocumentType>INVOICE</fx:DocumentType>\n<fx:DocumentFileName>" +
           std::string(kEInvoiceFileName) +
           "</fx:DocumentFileName>\n<fx:Version>1.0</fx:Version>\n"
           "<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>\n</rdf:Description>\n"
           "</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
    return xmp;
}

ArchivalParts archivalParts(const PdfLayout& layout, const PdfFonts& fonts,
                            const PdfArchival& archival, std::string_view encoding,
                            const ArchivalMetadata& metadata, size_t first) {
    ArchivalParts parts;
    parts.first = first;
    std::vector<PdfObjectText>& objects = parts.objects;
    const auto next = [&] { return first + objects.size(); };

    const size_t metadataObject = next();
    objects.push_back({" /Type /Metadata /Subtype /XML", true, xmpMetadata(metadata), false});
    const size_t profile = next();
    objects.push_back({" /N 3", true, std::string(kSrgbProfile)});
    const size_t attached = next();
    objects.push_back({" /Type /EmbeddedFile /Subtype /text#2Fxml /Params << /ModDate (" +
                           pdfDate(metadata.time) + ")",
                       true,
                       {},
                       true,
                       archival.eInvoiceXml});
    const size_t fileSpec = next();
    const std::string name = "(" + std::string(kEInvoiceFileName) + ")";
    objects.push_back({"<< /Type /Filespec /F " + name + " /UF " + name +
                           "\n/Desc (The invoice's data as Cross Industry Invoice XML)"
                           " /AFRelationship /Alternative\n/EF << /F " +
                           reference(attached) + " /UF " + reference(attached) + " >> >>",
                       false,
                       {}});

    const std::array<DrawnBytes, 2> drawn = drawnBytes(layout, fonts);
    parts.regularFont =
        appendFace(archival.faces->regular, *fonts.encoding, encoding, drawn[0], first, objects);
    parts.boldFont =
        appendFace(archival.faces->bold, *fonts.encoding, encoding, drawn[1], first, objects);

    parts.catalogEntries =
        "\n/Metadata " + reference(metadataObject) +
        "\n/OutputIntents [<< /Type /OutputIntent /S /GTS_PDFA1 /OutputConditionIdentifier "
        "(sRGB) /Info (sRGB IEC61966-2.1) /DestOutputProfile " +
        reference(profile) + " >>]\n/AF [" + reference(fileSpec) +
        "] /Names << /EmbeddedFiles << /Names [" + name + " " + reference(fileSpec) + "] >> >>";
    return parts;
}

} // namespace plaxet
