#include "output/pdf/writer.h"

#include "output/document_output.h"
#include "output/pdf/archival.h"
#include "output/pdf/font_choice.h"
#include "output/pdf/shaped_text.h"
#include "output/pdf/truetype.h"
#include "runtime/codepage.h"
#include "runtime/utf8.h"

#include <plaxet_version.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace plaxet {
namespace {

// Whole hundredths of a point: page coordinates and font sizes are small.
long long hundredthsOf(double value) {
    return std::llround(value * 100);
}

// A number of hundredths as a decimal with at most two places, without trailing zeros.
// Written into a small buffer and appended once: a page holds hundreds of them.
void appendHundredths(std::string& out, long long hundredths) {
    char text[32];
    char* end = text;
    if (hundredths < 0) *end++ = '-';
    const unsigned long long magnitude = hundredths < 0
                                             ? 0ULL - static_cast<unsigned long long>(hundredths)
                                             : static_cast<unsigned long long>(hundredths);
    end = std::to_chars(end, text + sizeof text, magnitude / 100).ptr;
    const auto cents = static_cast<unsigned>(magnitude % 100);
    if (cents != 0) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) *end++ = static_cast<char>('0' + cents % 10);
    }
    out.append(text, static_cast<size_t>(end - text));
}

void appendNumber(std::string& out, double value) {
    appendHundredths(out, hundredthsOf(value));
}

// zlib's compressor, set up once and reset for every page: setting it up
// costs more than compressing a page.
class Deflater {
  public:
    // A page's contents are a few kilobytes: a 8 kB window finds nearly every
    // repeat a larger one would, and the reset for each page clears far less.
    Deflater() {
        ready_ =
            deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, 13, 5, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ready_) deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The compressed bytes, valid until the next call; nothing when zlib fails.
    std::optional<std::string_view> pack(std::string_view content) {
        if (!start() || !add(content)) return std::nullopt;
        return finish();
    }

    // The same of the pieces `produce` hands on, compressed as they come;
    // `size` is what they came to.
    std::optional<std::string_view> pack(const ContentProducer& produce, size_t& size) {
        if (!start()) return std::nullopt;
        size = 0;
        bool failed = false;
        produce([&](std::string_view piece) {
            size += piece.size();
            failed = failed || !add(piece);
            return !failed;
        });
        if (failed) return std::nullopt;
        return finish();
    }

  private:
    // Compressed a piece at a time into the bytes kept from the last stream:
    // an attached file of megabytes compresses to a few dozen kilobytes, and
    // room for its worst case would be fresh memory.
    bool start() {
        buffer_.clear();
        return ready_ && deflateReset(&stream_) == Z_OK;
    }

    bool add(std::string_view piece) {
        while (!piece.empty()) { // zlib counts what it takes in 32 bits
            const size_t slice = std::min<size_t>(piece.size(), size_t{1} << 30);
            if (!deflateSlice(piece.substr(0, slice), Z_NO_FLUSH)) return false;
            piece.remove_prefix(slice);
        }
        return true;
    }

    std::optional<std::string_view> finish() {
        if (!deflateSlice({}, Z_FINISH)) return std::nullopt;
        return std::string_view(buffer_);
    }

    // Compresses `input` into the buffer; with Z_FINISH, ends the stream.
    bool deflateSlice(std::string_view input, int flush) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        stream_.avail_in = static_cast<uInt>(input.size());
        for (;;) {
            Bytef piece[16384];
            stream_.next_out = piece;
            stream_.avail_out = sizeof piece;
            const int status = deflate(&stream_, flush);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) return false;
            buffer_.append(reinterpret_cast<const char*>(piece), sizeof piece - stream_.avail_out);
            if (flush == Z_FINISH ? status == Z_STREAM_END : stream_.avail_in == 0) return true;
            if (status == Z_BUF_ERROR && stream_.avail_out != 0) return false; // no progress
        }
    }

    z_stream stream_{};
    bool ready_ = false;
    std::string buffer_;
};

// Objects written one after the other, each offset noted for the
// cross-reference table. Every object's number comes from `newObject`, in
// the order the numbers are wanted, before or after it is written.
class PdfFile {
  public:
    PdfFile() : offsets_(1, 0) {
        // The comment of bytes above 0x7F marks the file as binary for transfer programs.
        out_ = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    }

    std::string& out() { return out_; }

    size_t newObject() {
        offsets_.push_back(0);
        return offsets_.size() - 1;
    }

    void begin(size_t object) {
        offsets_[object] = out_.size();
        out_ += std::to_string(object);
        out_ += " 0 obj\n";
    }
    void end() { out_ += "\nendobj\n"; }

    void object(size_t number, std::string_view body) {
        begin(number);
        out_ += body;
        end();
    }

    // `entries` go into the stream's dictionary after its length.
    void stream(size_t number, std::string_view content, std::string_view entries = {},
                bool compress = true) {
        const std::optional<std::string_view> packed =
            compress ? deflater_.pack(content) : std::nullopt;
        // Without the memory to compress, the page goes in as it is.
        writeStream(number, packed ? *packed : std::string_view(content), entries,
                    packed.has_value());
    }

    // An attached file, compressed as it is made; its size closes `entries`,
    // which end inside its /Params.
    void attachedStream(size_t number, const ContentProducer& produce, std::string entries) {
        size_t size = 0;
        std::optional<std::string_view> packed = deflater_.pack(produce, size);
        std::string whole; // without the memory to compress, the file as it is
        if (!packed) {
            produce([&whole](std::string_view piece) {
                whole += piece;
                return true;
            });
            size = whole.size();
        }
        entries += " /Size " + std::to_string(size) + " >>";
        writeStream(number, packed ? *packed : std::string_view(whole), entries,
                    packed.has_value());
    }

    // The cross-reference table, each entry exactly 20 bytes, and the trailer.
    std::string finish(size_t catalog, size_t info) {
        const size_t xref = out_.size();
        const std::string id = fingerprint();
        out_ += "xref\n0 " + std::to_string(offsets_.size()) + "\n";
        out_ += "0000000000 65535 f\r\n";
        char entry[32];
        for (size_t i = 1; i < offsets_.size(); ++i) {
            std::snprintf(entry, sizeof entry, "%010llu 00000 n\r\n",
                          static_cast<unsigned long long>(offsets_[i]));
            out_ += entry;
        }
        out_ += "trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root " +
                std::to_string(catalog) + " 0 R /Info " + std::to_string(info) + " 0 R /ID [<" +
                id + "> <" + id + ">] >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(out_);
    }

  private:
    void writeStream(size_t number, std::string_view data, std::string_view entries,
                     bool compressed) {
        begin(number);
        out_ += "<< /Length " + std::to_string(data.size());
        out_ += entries;
        out_ += compressed ? " /Filter /FlateDecode >>\nstream\n" : " >>\nstream\n";
        out_ += data;
        out_ += "\nendstream";
        end();
    }

    // The file's identifier: two 64-bit FNV-1a hashes of its bytes.
    std::string fingerprint() const {
        uint64_t a = 0xcbf29ce484222325ULL, b = 0x84222325cbf29ce4ULL;
        for (const char c : out_) {
            a = (a ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
            b = (b ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL + 1;
        }
        char hex[40];
        std::snprintf(hex, sizeof hex, "%016llx%016llx", static_cast<unsigned long long>(a),
                      static_cast<unsigned long long>(b));
        return hex;
    }

    std::string out_;
    std::vector<size_t> offsets_; // by object number; 0 is the free list's head
    Deflater deflater_;
};

// An information text: a literal string when it is plain ASCII, otherwise
// UTF-16 (big-endian, with its byte-order mark) in hexadecimal.
void appendInfoString(std::string& out, std::string_view text) {
    if (isAscii(text)) {
        appendPdfString(out, text);
        return;
    }
    out += "<FEFF";
    char hex[8];
    for (size_t at = 0; at < text.size();) {
        const uint32_t code = nextCodePoint(text, at);
        const auto unit = [&](uint32_t value) {
            std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(value));
            out += hex;
        };
        const Utf16Units utf16 = utf16Units(code);
        for (size_t i = 0; i < utf16.count; ++i) unit(utf16.units[i]);
    }
    out += '>';
}

// The bytes whose glyph differs from WinAnsiEncoding, as a /Differences array's body.
// `namedOnly`: without the bytes that stand for no character (an archival
// file may name no missing glyph; the text never draws those bytes).
std::string encodingDifferences(const PdfCodePage& codePage, bool namedOnly) {
    const PdfCodePage& western = *pdfCodePage(1252);
    std::string differences;
    for (size_t byte = 0x20; byte < 256; ++byte) {
        const char* name = codePage.glyphs[byte].name;
        const char* base = western.glyphs[byte].name;
        if (name == base || (name && base && std::string_view(name) == base)) continue;
        if (!name && namedOnly) continue;
        differences += std::to_string(byte) + " /" + (name ? name : ".notdef") + " ";
    }
    return differences;
}

// The CIDs of each other face's PDF font, by face as in PdfFonts::others:
// its characters' from 1 in the order of their code points, then the
// glyphs of its shaped runs, each with the characters it shows.
struct FaceCids {
    std::map<uint32_t, uint16_t> characters;
    std::map<uint16_t, uint16_t> glyphs;
    std::map<uint16_t, std::u32string> glyphText;
    bool empty() const { return characters.empty() && glyphs.empty(); }
};
using OtherCharacters = std::vector<FaceCids>;

// A piece of a text drawn with one font: code-page bytes in the standard
// font, or two-byte CIDs in another face, stroked when that face is a
// regular one standing in for bold.
struct TextRun {
    std::optional<size_t> face; // none: the standard font
    bool stroked = false;
    std::string bytes;
};

std::vector<TextRun> textRuns(std::string_view text, PdfFont font, const PdfFonts& fonts,
                              const OtherCharacters& others) {
    const PdfCodePage& codePage = *fonts.encoding;
    std::vector<TextRun> runs(1);
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        const uint32_t codePoint = nextCodePoint(text, at);
        const std::optional<unsigned char> byte = standardFontByte(codePage, codePoint);
        const std::optional<size_t> face =
            byte ? std::nullopt : otherFaceIndex(fonts, font, codePoint);
        if (runs.back().face != face && !runs.back().bytes.empty()) runs.emplace_back();
        TextRun& run = runs.back();
        run.face = face;
        run.stroked = face && font == PdfFont::Bold && !fonts.others[*face].bold;
        if (byte) {
            run.bytes += static_cast<char>(*byte);
        } else if (face) {
            const uint16_t cid = others[*face].characters.at(codePoint);
            run.bytes += static_cast<char>(cid >> 8);
            run.bytes += static_cast<char>(cid & 0xFF);
        } else {
            // No font has it: the nearest text.
            run.bytes += standardFontStandIn(codePage, text.substr(start, at - start));
        }
    }
    return runs;
}

// The name of the PDF font of another face: F3 for the first.
std::string otherFontName(size_t face) {
    return "/F" + std::to_string(face + 3) + " ";
}

void appendHexString(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '<';
    for (const char c : bytes) {
        out += kHex[static_cast<unsigned char>(c) >> 4];
        out += kHex[static_cast<unsigned char>(c) & 0x0F];
    }
    out += '>';
}

// A text string for a marked-content property: UTF-16 with its byte-order mark.
void appendTextString(std::string& out, std::u32string_view text) {
    out += "<FEFF";
    char hex[8];
    for (const char32_t c : text) {
        const Utf16Units utf16 = utf16Units(c);
        for (size_t i = 0; i < utf16.count; ++i) {
            std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(utf16.units[i]));
            out += hex;
        }
    }
    out += '>';
}

bool hasBracket(std::u32string_view characters) {
    return characters.find_first_of(U"()[]{}<>\u00AB\u00BB\u2039\u203A") !=
           std::u32string_view::npos;
}

// A face's shaped glyphs, each placed where the engine put it: the moves
// between glyphs make up for the difference between a glyph's own width
// (what the PDF font says) and its shaped advance, and a mark raised or
// lowered is drawn with a text rise.
void appendShapedRun(std::string& content, const ShapedRun& run, const TrueTypeFont& font,
                     const FaceCids& cids, double size) {
    const double scale = 1000.0 / font.unitsPerEm; // font units to thousandths of the size
    if (run.stroked) {
        content += "2 Tr ";
        appendNumber(content, size * 0.03);
        content += " w ";
    }
    long long rise = 0; // in hundredths of a point
    content += '[';
    for (const ShapedGlyph& glyph : run.glyphs) {
        const long long glyphRise = hundredthsOf(glyph.yOffset * scale * size / 1000.0);
        if (glyphRise != rise) {
            content += "] TJ ";
            appendHundredths(content, glyphRise);
            content += " Ts [";
            rise = glyphRise;
        }
        const double offset = glyph.xOffset * scale;
        const double move = glyph.advance * scale - offset - glyphWidth(font, glyph.glyph);
        if (hundredthsOf(offset) != 0) appendNumber(content, -offset);
        const uint16_t cid = cids.glyphs.at(glyph.glyph);
        const char bytes[] = {static_cast<char>(cid >> 8), static_cast<char>(cid & 0xFF)};
        appendHexString(content, std::string_view(bytes, 2));
        if (hundredthsOf(move) != 0) appendNumber(content, -move);
    }
    content += "] TJ";
    if (rise != 0) content += " 0 Ts";
    content += run.stroked ? " 0 Tr\n" : "\n";
}

// One page's drawing: the table's rules, the filled boxes, then every text.
std::string pageContent(const PdfPage& page, const PdfFonts& fonts, const OtherCharacters& others) {
    std::string content;
    content.reserve(page.texts.size() * 48 + page.rules.size() * 32 + 64);
    if (!page.rules.empty()) {
        content += "0.6 w\n";
        for (const PdfRule& rule : page.rules) {
            appendNumber(content, rule.x1);
            content += ' ';
            appendNumber(content, rule.y1);
            content += " m ";
            appendNumber(content, rule.x2);
            content += ' ';
            appendNumber(content, rule.y2);
            content += " l\n";
        }
        content += "S\n";
    }
    if (!page.boxes.empty()) { // the payment code's modules, filled as one path
        for (const PdfBox& box : page.boxes) {
            appendNumber(content, box.x);
            content += ' ';
            appendNumber(content, box.y);
            content += ' ';
            appendNumber(content, box.width);
            content += ' ';
            appendNumber(content, box.height);
            content += " re\n";
        }
        content += "f\n";
    }
    content += "BT\n";
    // The font in use: F1 or F2 (the standard fonts), F3 and on (the other faces).
    std::string font = "/F1 ";
    double size = -1;
    const auto select = [&](std::string_view wanted, double wantedSize) {
        if (wanted == font && wantedSize == size) return;
        font.assign(wanted);
        size = wantedSize;
        content += font;
        appendNumber(content, size);
        content += " Tf\n";
    };
    // Each text starts where a move from the previous one's start puts it
    // (Td), in whole hundredths so that the moves add up exactly.
    long long x = 0, y = 0;
    const auto moveTo = [&](double toPointX, double toPointY) {
        const long long toX = hundredthsOf(toPointX), toY = hundredthsOf(toPointY);
        appendHundredths(content, toX - x);
        content += ' ';
        appendHundredths(content, toY - y);
        content += " Td ";
        x = toX;
        y = toY;
    };
    for (const PdfText& text : page.texts) {
        const std::string_view standard = text.font == PdfFont::Bold ? "/F2 " : "/F1 ";
        if (needsShaping(text.text)) {
            // The runs stand on the page from left to right but are drawn in
            // the order they were typed, each moved to its place, so that a
            // program reading the drawing in order reads the text as typed.
            const ShapedLine line = shapedLine(fonts, text.font, text.text);
            std::vector<double> lefts;
            double left = text.x;
            for (const ShapedRun& run : line.runs) {
                lefts.push_back(left);
                left += static_cast<double>(run.width) * text.size / 1000.0;
            }
            std::vector<size_t> typedOrder(line.runs.size());
            for (size_t r = 0; r < typedOrder.size(); ++r) typedOrder[r] = r;
            std::stable_sort(typedOrder.begin(), typedOrder.end(), [&](size_t a, size_t b) {
                return line.runs[a].from < line.runs[b].from;
            });
            for (const size_t r : typedOrder) {
                const ShapedRun& run = line.runs[r];
                if (!run.face && run.bytes.empty()) continue;
                select(run.face ? otherFontName(*run.face) : std::string(standard), text.size);
                moveTo(lefts[r], text.y);
                if (!run.face) {
                    // A bracket in a right-to-left run shows its mirror image
                    // but copies out as the bracket typed.
                    const bool mirrored = run.rightToLeft && hasBracket(run.characters);
                    if (mirrored) {
                        content += "/Span << /ActualText ";
                        appendTextString(content, std::u32string(run.characters.rbegin(),
                                                                 run.characters.rend()));
                        content += " >> BDC ";
                    }
                    appendPdfString(content, run.bytes);
                    content += mirrored ? " Tj EMC\n" : " Tj\n";
                    continue;
                }
                // A left-to-right run's glyphs may stand in another order than
                // its characters (a vowel sign before its consonant) or show
                // several at once: it is marked with its characters as typed.
                if (!run.rightToLeft) {
                    content += "/Span << /ActualText ";
                    appendTextString(content, run.characters);
                    content += " >> BDC ";
                }
                appendShapedRun(content, run, *fonts.others[*run.face].font, others[*run.face],
                                text.size);
                if (!run.rightToLeft) content += "EMC\n";
            }
            continue;
        }
        if (isAscii(text.text)) { // most texts: one run in the standard font, bytes as they are
            select(standard, text.size);
            moveTo(text.x, text.y);
            appendPdfString(content, text.text);
            content += " Tj\n";
            continue;
        }
        const std::vector<TextRun> runs = textRuns(text.text, text.font, fonts, others);
        for (size_t r = 0; r < runs.size(); ++r) {
            const TextRun& run = runs[r];
            select(run.face ? otherFontName(*run.face) : std::string(standard), text.size);
            if (r == 0) moveTo(text.x, text.y);
            if (run.stroked) { // filled and outlined, about as heavy as Helvetica-Bold
                content += "2 Tr ";
                appendNumber(content, text.size * 0.03);
                content += " w ";
            }
            if (run.face)
                appendHexString(content, run.bytes);
            else
                appendPdfString(content, run.bytes);
            content += run.stroked ? " Tj 0 Tr\n" : " Tj\n";
        }
    }
    content += "ET\n";
    return content;
}

// The glyphs of a shaped run, each with the characters it shows where it
// is first found, for copying text out. Programs that copy text read a
// right-to-left run's glyphs as they stand on the page and turn them
// around; so a glyph shows its cluster's characters one to one where the
// counts agree, and otherwise the first glyph shows them all, turned
// around in a right-to-left run, and the others none.
void noteGlyphs(const ShapedRun& run, std::map<uint16_t, std::u32string>& glyphs) {
    std::map<uint32_t, std::vector<uint16_t>> clusters; // in typed order
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
        const ShapedGlyph& glyph = run.glyphs[run.rightToLeft ? run.glyphs.size() - 1 - i : i];
        clusters[glyph.cluster].push_back(glyph.glyph);
    }
    for (auto it = clusters.begin(); it != clusters.end(); ++it) {
        const auto next = std::next(it);
        const size_t end = next == clusters.end() ? run.characters.size() : next->first;
        const size_t from = std::min<size_t>(it->first, end);
        std::u32string text = run.characters.substr(from, end - from);
        const std::vector<uint16_t>& cluster = it->second;
        if (cluster.size() == text.size()) {
            for (size_t k = 0; k < cluster.size(); ++k)
                glyphs.emplace(cluster[k], std::u32string(1, text[k]));
            continue;
        }
        if (run.rightToLeft) std::reverse(text.begin(), text.end());
        for (size_t k = 0; k < cluster.size(); ++k)
            glyphs.emplace(cluster[k], k == 0 ? text : std::u32string());
    }
}

// The characters of the layout that each other face draws.
OtherCharacters otherCharacters(const PdfLayout& layout, const PdfFonts& fonts) {
    const PdfCodePage& codePage = *fonts.encoding;
    std::vector<std::set<uint32_t>> found(fonts.others.size());
    std::vector<std::map<uint16_t, std::u32string>> glyphs(fonts.others.size());
    for (const PdfPage& page : layout.pages)
        for (const PdfText& text : page.texts) {
            if (isAscii(text.text)) continue; // most texts: nothing to look for
            if (needsShaping(text.text)) {
                for (const ShapedRun& run : shapedLine(fonts, text.font, text.text).runs)
                    if (run.face) noteGlyphs(run, glyphs[*run.face]);
                continue;
            }
            for (size_t at = 0; at < text.text.size();) {
                if (static_cast<unsigned char>(text.text[at]) < 0x80) {
                    ++at;
                    continue;
                }
                const uint32_t codePoint = nextCodePoint(text.text, at);
                if (standardFontByte(codePage, codePoint)) continue;
                if (const std::optional<size_t> face = otherFaceIndex(fonts, text.font, codePoint))
                    found[*face].insert(codePoint);
            }
        }
    OtherCharacters characters(found.size());
    for (size_t face = 0; face < found.size(); ++face) {
        FaceCids& cids = characters[face];
        uint16_t next = 1;
        for (const uint32_t codePoint : found[face])
            if (next < 0xFFFF) cids.characters.emplace(codePoint, next++);
        for (auto& [glyph, text] : glyphs[face])
            if (next < 0xFFFF) {
                cids.glyphs.emplace(glyph, next++);
                cids.glyphText.emplace(glyph, std::move(text));
            }
    }
    return characters;
}

// One CID of a face's PDF font: the glyph it shows and the characters it stands for.
struct CidGlyph {
    uint16_t cid = 0;
    uint16_t glyph = 0;
    std::u32string text;
};

// The face's CIDs in order, from 1.
std::vector<CidGlyph> cidGlyphs(const TrueTypeFont& font, const FaceCids& cids) {
    std::vector<CidGlyph> list;
    for (const auto& [codePoint, cid] : cids.characters)
        list.push_back({cid, glyphOf(font, codePoint), std::u32string(1, char32_t(codePoint))});
    for (const auto& [glyph, cid] : cids.glyphs)
        list.push_back({cid, glyph, cids.glyphText.at(glyph)});
    std::sort(list.begin(), list.end(),
              [](const CidGlyph& a, const CidGlyph& b) { return a.cid < b.cid; });
    return list;
}

// The map from CIDs back to the characters, for copying text out of the PDF.
std::string toUnicodeMap(const std::vector<CidGlyph>& glyphs) {
    std::string map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<const CidGlyph*> told;
    for (const CidGlyph& glyph : glyphs)
        if (!glyph.text.empty()) told.push_back(&glyph);
    char hex[16];
    for (size_t i = 0; i < told.size(); ++i) {
        if (i % 100 == 0)
            map += std::to_string(std::min<size_t>(told.size() - i, 100)) + " beginbfchar\n";
        std::snprintf(hex, sizeof hex, "<%04X> <", told[i]->cid);
        map += hex;
        for (const char32_t c : told[i]->text) {
            const Utf16Units utf16 = utf16Units(c);
            for (size_t u = 0; u < utf16.count; ++u) {
                std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(utf16.units[u]));
                map += hex;
            }
        }
        map += ">\n";
        if (i % 100 == 99 || i + 1 == told.size()) map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

// The embedded font's six objects: the font, its CID font, descriptor, file
// (cut down to the glyphs used), ToUnicode map and CID-to-glyph map.
struct UnicodeFontObjects {
    size_t font, cidFont, descriptor, fontFile, toUnicode, cidToGlyph;
};

UnicodeFontObjects newUnicodeFontObjects(PdfFile& file) {
    UnicodeFontObjects objects{};
    for (size_t* object : {&objects.font, &objects.cidFont, &objects.descriptor, &objects.fontFile,
                           &objects.toUnicode, &objects.cidToGlyph})
        *object = file.newObject();
    return objects;
}

std::string reference(size_t object) {
    return std::to_string(object) + " 0 R";
}

void appendUnicodeFont(PdfFile& file, const UnicodeFontObjects& objects, const TrueTypeFont& font,
                       const FaceCids& cids) {
    const std::vector<CidGlyph> list = cidGlyphs(font, cids);
    std::vector<uint16_t> glyphs;
    std::string cidToGlyph(2, '\0'); // CID 0 shows the missing glyph
    std::string widths = "[1 [";
    uint32_t tag = 0x811C9DC5u;
    for (const CidGlyph& entry : list) {
        glyphs.push_back(entry.glyph);
        cidToGlyph += static_cast<char>(entry.glyph >> 8);
        cidToGlyph += static_cast<char>(entry.glyph & 0xFF);
        widths +=
            std::to_string(glyphWidth(font, entry.glyph)) + (entry.cid % 16 == 0 ? "\n" : " ");
        tag = (tag ^ entry.glyph) * 0x01000193u;
    }
    widths.back() = ']';
    widths += ']';
    // The subset's name: six capitals from the characters it holds, a plus, the font's name.
    std::string name;
    for (int k = 0; k < 6; ++k, tag /= 26) name += static_cast<char>('A' + tag % 26);
    name += '+' + font.name;
    const double scale = 1000.0 / font.unitsPerEm;
    const auto scaled = [&](int value) { return std::to_string(std::lround(value * scale)); };

    file.object(objects.font, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                  " /Encoding /Identity-H /DescendantFonts [" +
                                  reference(objects.cidFont) + "] /ToUnicode " +
                                  reference(objects.toUnicode) + " >>");
    file.object(objects.cidFont, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                                     "\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) "
                                     "/Supplement 0 >>\n/FontDescriptor " +
                                     reference(objects.descriptor) + " /CIDToGIDMap " +
                                     reference(objects.cidToGlyph) + "\n/W " + widths + " >>");
    file.object(objects.descriptor,
                "<< /Type /FontDescriptor /FontName /" + name + " /Flags 32\n/FontBBox [" +
                    scaled(font.box[0]) + " " + scaled(font.box[1]) + " " + scaled(font.box[2]) +
                    " " + scaled(font.box[3]) + "] /ItalicAngle 0 /Ascent " + scaled(font.ascent) +
                    " /Descent " + scaled(font.descent) + " /CapHeight " + scaled(font.ascent) +
                    " /StemV 80 /FontFile2 " + reference(objects.fontFile) + " >>");
    const std::string subset = subsetTrueTypeFont(font, glyphs);
    file.stream(objects.fontFile, subset, " /Length1 " + std::to_string(subset.size()));
    file.stream(objects.toUnicode, toUnicodeMap(list));
    file.stream(objects.cidToGlyph, cidToGlyph);
}

} // namespace

void appendPdfString(std::string& out, std::string_view text) {
    out += '(';
    const auto special = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '(' || c == ')' || c == '\\' || byte < 0x20 || byte == 0x7F;
    };
    // Most texts need no escape at all and go in whole.
    if (std::none_of(text.begin(), text.end(), special)) {
        out += text;
        out += ')';
        return;
    }
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)),
                                  static_cast<char>('0' + ((byte >> 3) & 7)),
                                  static_cast<char>('0' + (byte & 7))};
            out.append(octal, sizeof octal);
        } else {
            out += c;
        }
    }
    out += ')';
}

std::string pdfBytes(const PdfLayout& layout, const PdfFonts& fonts, const PdfDocumentInfo& info,
                     const PdfArchival* archival) {
    const PdfCodePage& codePage = *fonts.encoding;
    const std::string differences =
        codePage.number == 1252 ? "" : encodingDifferences(codePage, archival != nullptr);
    const size_t pages = layout.pages.size();
    // Characters the standard fonts lack come from embedded faces, whose
    // objects follow the pages; a document without them has none.
    const OtherCharacters others = otherCharacters(layout, fonts);
    PdfFile file;
    const size_t catalog = file.newObject(), pageTree = file.newObject();
    const size_t regularFont = file.newObject(), boldFont = file.newObject();
    const size_t infoObject = file.newObject();
    const size_t encodingObject = differences.empty() ? 0 : file.newObject();
    struct PageObjects {
        size_t page, contents;
    };
    std::vector<PageObjects> pageObjects(pages);
    for (PageObjects& page : pageObjects) page = {file.newObject(), file.newObject()};
    std::vector<std::optional<UnicodeFontObjects>> otherFonts(others.size());
    for (size_t face = 0; face < others.size(); ++face)
        if (!others[face].empty()) otherFonts[face] = newUnicodeFontObjects(file);
    const std::string encoding =
        differences.empty() ? "/WinAnsiEncoding" : reference(encodingObject);
    // An archival file's own objects follow all others, so a plain one keeps its numbers.
    std::optional<ArchivalParts> archivalObjects;
    ArchivalMetadata metadata{info.title, info.author, info.creator, info.creationTime};
    if (archival) {
        archivalObjects =
            archivalParts(layout, fonts, *archival, encoding, metadata, file.newObject());
        for (size_t i = 1; i < archivalObjects->objects.size(); ++i) file.newObject();
    }
    std::string& out = file.out();
    // A compressed page takes under a kilobyte: room made once, not by copying as it grows.
    out.reserve(4096 + pages * 1024);

    file.object(catalog, "<< /Type /Catalog /Pages " + reference(pageTree) +
                             (archivalObjects ? archivalObjects->catalogEntries : "") + " >>");

    file.begin(pageTree);
    out += "<< /Type /Pages /Count " + std::to_string(pages) + " /MediaBox [0 0 ";
    appendNumber(out, layout.width);
    out += ' ';
    appendNumber(out, layout.height);
    out +=
        "]\n/Resources << /Font << /F1 " + reference(regularFont) + " /F2 " + reference(boldFont);
    for (size_t face = 0; face < otherFonts.size(); ++face)
        if (otherFonts[face]) out += " " + otherFontName(face) + reference(otherFonts[face]->font);
    out += " >> >>\n/Kids [";
    for (size_t i = 0; i < pages; ++i) {
        out += reference(pageObjects[i].page);
        out += i % 8 == 7 ? '\n' : ' ';
    }
    out += "] >>";
    file.end();

    for (PdfFont font : {PdfFont::Regular, PdfFont::Bold})
        file.object(
            font == PdfFont::Bold ? boldFont : regularFont,
            archivalObjects
                ? (font == PdfFont::Bold ? archivalObjects->boldFont : archivalObjects->regularFont)
                : "<< /Type /Font /Subtype /Type1 /BaseFont /" + std::string(pdfFontName(font)) +
                      " /Encoding " + encoding + " >>");

    file.begin(infoObject);
    out += "<< /Title ";
    appendInfoString(out, info.title);
    // An archival file's metadata has no empty author to agree with.
    if (!archival || !info.author.empty()) {
        out += "\n/Author ";
        appendInfoString(out, info.author);
    }
    out += "\n/Creator ";
    appendInfoString(out, info.creator);
    out += "\n/Producer ";
    appendInfoString(out, info.creator);
    out += "\n/CreationDate (" + pdfDate(info.creationTime) + ")";
    if (archival) out += "\n/ModDate (" + pdfDate(info.creationTime) + ")";
    out += " >>";
    file.end();

    if (!differences.empty())
        file.object(encodingObject,
                    "<< /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences [" +
                        differences + "] >>");

    for (size_t i = 0; i < pages; ++i) {
        file.object(pageObjects[i].page, "<< /Type /Page /Parent " + reference(pageTree) +
                                             " /Contents " + reference(pageObjects[i].contents) +
                                             " >>");
        file.stream(pageObjects[i].contents, pageContent(layout.pages[i], fonts, others));
    }
    for (size_t face = 0; face < otherFonts.size(); ++face)
        if (otherFonts[face])
            appendUnicodeFont(file, *otherFonts[face], *fonts.others[face].font, others[face]);
    if (archivalObjects)
        for (size_t i = 0; i < archivalObjects->objects.size(); ++i) {
            const PdfObjectText& object = archivalObjects->objects[i];
            const size_t number = archivalObjects->first + i;
            if (object.attached)
                file.attachedStream(number, object.attached, object.dictionary);
            else if (object.isStream)
                file.stream(number, object.data, object.dictionary, object.compressed);
            else
                file.object(number, object.dictionary);
        }
    return file.finish(catalog, infoObject);
}

namespace {

// The characters of the texts the document prints that the standard fonts
// lack: the form's own texts and what the values add to them.
std::set<uint32_t> lackingCharacters(const FormDocument& form, const DocumentValues& values,
                                     const PdfCodePage& encoding) {
    std::set<uint32_t> lacking;
    const auto look = [&](std::string_view text) {
        if (isAscii(text)) return;
        for (size_t at = 0; at < text.size();)
            if (const uint32_t codePoint = nextCodePoint(text, at);
                codePoint != kSoftHyphenCodePoint && !standardFontByte(encoding, codePoint))
                lacking.insert(codePoint);
    };
    const auto lookAll = [&](const auto& texts) {
        for (const auto& text : texts) look(text);
    };
    lookAll(form.senderLines);
    lookAll(form.addresseeLines);
    lookAll(values.notesLines);
    for (const std::string* text : {&values.numberLine, &values.dueLine, &values.heading,
                                    &values.longDate, &values.totalLabel, &values.closingSentence})
        look(*text);
    lookAll(values.buyerLines);
    lookAll(values.termsLines);
    lookAll(values.footerLines);
    const size_t items = printedItemCount(form, values);
    for (size_t i = 0; i < items; ++i) {
        look(form.items[i].date);
        look(form.items[i].description);
        look(costText(values.printedCosts, i));
    }
    return lacking;
}

// The fonts of a document: read only when some character needs them, so a
// document of the standard fonts' own characters never reads a font file.
FontChoice documentFonts(const FormDocument& form, const DocumentValues& values,
                         const DocumentSettings& settings) {
    const PdfCodePage& encoding = pdfEncodingFor(settings.codePage);
    return chooseFonts(lackingCharacters(form, values, encoding), encoding, settings);
}

} // namespace

std::string pdfDocument(const FormDocument& form, const DocumentValues& values,
                        const DocumentSettings& settings, DocumentReport* report) {
    PdfDocumentInfo info;
    info.title = values.heading + " " + form.addresseeLines[0];
    info.author = form.senderLines[0];
    info.creator = std::string("Plaxet ") + PLAXET_VERSION;
    info.creationTime = settings.creationTime.value_or(static_cast<int64_t>(std::time(nullptr)));
    const FontChoice chosen = documentFonts(form, values, settings);
    if (report) report->undrawnCharacters = chosen.undrawable;
    const PdfLayout layout = pdfLayout(form, values, chosen.fonts, settings.paper);
    if (!values.eInvoiceXml) return pdfBytes(layout, chosen.fonts, info);
    // An archival file embeds every font and draws no missing glyph.
    const ArchivalFontsRead faces = readArchivalFonts(settings.archivalFonts);
    if (!faces.fonts || !archivalFontsCover(layout, chosen.fonts, *faces.fonts)) {
        if (report) report->archivalFontsMissing = true;
        return pdfBytes(layout, chosen.fonts, info);
    }
    info.title = archivalText(info.title);
    info.author = archivalText(info.author);
    const PdfArchival archival{&*faces.fonts, values.eInvoiceXml};
    return pdfBytes(layout, chosen.fonts, info, &archival);
}

FileReplacement pdfDocumentFile(const FormDocument& form, const DocumentValues& values,
                                const DocumentSettings& settings, const std::string& path,
                                DocumentReport* report) {
    return {path,
            [&form, &values, &settings, report](const ContentSink& sink) {
                sink(pdfDocument(form, values, settings, report));
            },
            /*markReadOnly=*/true};
}

} // namespace plaxet
