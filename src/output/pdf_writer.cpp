#include "output/pdf_writer.h"

#include "runtime/codepage.h"

#include <plaxet_version.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

namespace plaxet {
namespace {

// The fixed objects; the pages follow, each a page object and its contents.
enum Object : size_t { kCatalog = 1, kPages, kRegularFont, kBoldFont, kInfo, kEncoding };

// Whole hundredths of a point: page coordinates and font sizes are small.
long long hundredthsOf(double value) {
    return std::llround(value * 100);
}

// A number of hundredths as a decimal with at most two places, without trailing zeros.
void appendHundredths(std::string& out, long long hundredths) {
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, hundredths / 100).ptr);
    const int cents = static_cast<int>(hundredths % 100);
    if (cents == 0) return;
    out += '.';
    out += static_cast<char>('0' + cents / 10);
    if (cents % 10 != 0) out += static_cast<char>('0' + cents % 10);
}

void appendNumber(std::string& out, double value) {
    appendHundredths(out, hundredthsOf(value));
}

// zlib's compressor, set up once and reset for every page: setting it up
// costs more than compressing a page.
class Deflater {
  public:
    Deflater() { ready_ = deflateInit(&stream_, Z_BEST_SPEED) == Z_OK; }
    ~Deflater() {
        if (ready_) deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The compressed bytes, valid until the next call; nothing when zlib fails.
    std::optional<std::string_view> pack(std::string_view content) {
        if (!ready_ || deflateReset(&stream_) != Z_OK) return std::nullopt;
        const auto size = static_cast<uLong>(content.size());
        buffer_.resize(deflateBound(&stream_, size));
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
        stream_.avail_in = static_cast<uInt>(size);
        stream_.next_out = reinterpret_cast<Bytef*>(buffer_.data());
        stream_.avail_out = static_cast<uInt>(buffer_.size());
        if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) return std::nullopt;
        return std::string_view(buffer_.data(), buffer_.size() - stream_.avail_out);
    }

  private:
    z_stream stream_{};
    bool ready_ = false;
    std::string buffer_;
};

// Objects written one after the other, each offset noted for the
// cross-reference table.
class PdfFile {
  public:
    explicit PdfFile(size_t objectCount) : offsets_(objectCount + 1, 0) {
        // The comment of bytes above 0x7F marks the file as binary for transfer programs.
        out_ = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    }

    std::string& out() { return out_; }

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

    void stream(size_t number, const std::string& content) {
        const std::optional<std::string_view> packed = deflater_.pack(content);
        // Without the memory to compress, the page goes in as it is.
        const std::string_view data = packed ? *packed : std::string_view(content);
        begin(number);
        out_ += "<< /Length " + std::to_string(data.size()) +
                (packed ? " /Filter /FlateDecode >>\nstream\n" : " >>\nstream\n");
        out_ += data;
        out_ += "\nendstream";
        end();
    }

    // The cross-reference table, each entry exactly 20 bytes, and the trailer.
    std::string finish() {
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
                std::to_string(kCatalog) + " 0 R /Info " + std::to_string(kInfo) + " 0 R /ID [<" +
                id + "> <" + id + ">] >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(out_);
    }

  private:
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
    bool ascii = true;
    for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        appendPdfString(out, text);
        return;
    }
    out += "<FEFF";
    char hex[8];
    for (size_t at = 0; at < text.size();) {
        const AnsiCharacter character = ansiCharacterAt(text, at);
        at += character.length;
        uint32_t code = character.codePoint;
        if (code > 0xFFFF) code = 0xFFFD;
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(code));
        out += hex;
    }
    out += '>';
}

// "D:YYYYMMDDHHmmSSZ" of a time in seconds since 1970 (UTC), on the
// proleptic Gregorian calendar, without the C library's time zone handling.
std::string pdfDate(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Days to a civil date, counting eras of 400 years from March 1st of year 0.
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[96];
    std::snprintf(text, sizeof text, "D:%04lld%02lld%02lld%02lld%02lld%02lldZ",
                  static_cast<long long>(std::clamp<int64_t>(year, 0, 9999)),
                  static_cast<long long>(month), static_cast<long long>(day),
                  static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return text;
}

// The bytes whose glyph differs from WinAnsiEncoding, as a /Differences array's body.
std::string encodingDifferences(const PdfCodePage& codePage) {
    const PdfCodePage& western = *pdfCodePage(1252);
    std::string differences;
    for (size_t byte = 0x20; byte < 256; ++byte) {
        const char* name = codePage.glyphs[byte].name;
        const char* base = western.glyphs[byte].name;
        if (name == base || (name && base && std::string_view(name) == base)) continue;
        differences += std::to_string(byte) + " /" + (name ? name : ".notdef") + " ";
    }
    return differences;
}

// One page's drawing: the table's rules, then every text.
std::string pageContent(const PdfPage& page) {
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
    content += "BT\n";
    PdfFont font = PdfFont::Regular;
    double size = -1;
    // Each text starts where a move from the previous one's start puts it
    // (Td), in whole hundredths so that the moves add up exactly.
    long long x = 0, y = 0;
    for (const PdfText& text : page.texts) {
        if (text.font != font || text.size != size) {
            font = text.font;
            size = text.size;
            content += font == PdfFont::Bold ? "/F2 " : "/F1 ";
            appendNumber(content, size);
            content += " Tf\n";
        }
        const long long toX = hundredthsOf(text.x), toY = hundredthsOf(text.y);
        appendHundredths(content, toX - x);
        content += ' ';
        appendHundredths(content, toY - y);
        content += " Td ";
        x = toX;
        y = toY;
        appendPdfString(content, text.text);
        content += " Tj\n";
    }
    content += "ET\n";
    return content;
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

std::string pdfBytes(const PdfLayout& layout, const PdfCodePage& codePage,
                     const PdfDocumentInfo& info) {
    const std::string differences = codePage.number == 1252 ? "" : encodingDifferences(codePage);
    const size_t firstPage = differences.empty() ? kEncoding : kEncoding + 1;
    const size_t pages = layout.pages.size();
    PdfFile file(firstPage - 1 + 2 * pages);
    std::string& out = file.out();

    file.object(kCatalog, "<< /Type /Catalog /Pages 2 0 R >>");

    file.begin(kPages);
    out += "<< /Type /Pages /Count " + std::to_string(pages) + " /MediaBox [0 0 ";
    appendNumber(out, layout.width);
    out += ' ';
    appendNumber(out, layout.height);
    out += "]\n/Resources << /Font << /F1 3 0 R /F2 4 0 R >> >>\n/Kids [";
    for (size_t i = 0; i < pages; ++i) {
        out += std::to_string(firstPage + 2 * i) + " 0 R";
        out += i % 8 == 7 ? '\n' : ' ';
    }
    out += "] >>";
    file.end();

    const std::string encoding =
        differences.empty() ? "/WinAnsiEncoding" : std::to_string(kEncoding) + " 0 R";
    for (PdfFont font : {PdfFont::Regular, PdfFont::Bold})
        file.object(font == PdfFont::Bold ? kBoldFont : kRegularFont,
                    "<< /Type /Font /Subtype /Type1 /BaseFont /" + std::string(pdfFontName(font)) +
                        " /Encoding " + encoding + " >>");

    file.begin(kInfo);
    out += "<< /Title ";
    appendInfoString(out, info.title);
    out += "\n/Author ";
    appendInfoString(out, info.author);
    out += "\n/Creator ";
    appendInfoString(out, info.creator);
    out += "\n/Producer ";
    appendInfoString(out, info.creator);
    out += "\n/CreationDate (" + pdfDate(info.creationTime) + ") >>";
    file.end();

    if (!differences.empty())
        file.object(kEncoding, "<< /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences [" +
                                   differences + "] >>");

    for (size_t i = 0; i < pages; ++i) {
        const size_t page = firstPage + 2 * i;
        file.object(page, "<< /Type /Page /Parent 2 0 R /Contents " + std::to_string(page + 1) +
                              " 0 R >>");
        file.stream(page + 1, pageContent(layout.pages[i]));
    }
    return file.finish();
}

PdfSettings pdfSettings(PaperSize paper) {
    PdfSettings settings;
    settings.paper = paper;
    settings.codePage = pdfCodePage(ansiCodePageNumber());
    settings.creationTime = static_cast<int64_t>(std::time(nullptr));
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        int64_t seconds = 0;
        const char* end = epoch + std::char_traits<char>::length(epoch);
        const auto [stop, error] = std::from_chars(epoch, end, seconds);
        if (error == std::errc() && stop == end && stop != epoch) settings.creationTime = seconds;
    }
    return settings;
}

std::string pdfDocument(const FormDocument& form, const DocumentValues& values,
                        const PdfSettings& settings) {
    PdfDocumentInfo info;
    info.title = values.heading + " " + form.addresseeLines[0];
    info.author = form.senderLines[0];
    info.creator = std::string("Plaxet ") + PLAXET_VERSION;
    info.creationTime = settings.creationTime;
    return pdfBytes(pdfLayout(form, values, *settings.codePage, settings.paper), *settings.codePage,
                    info);
}

ReplaceResult writePdfFile(const FormDocument& form, const DocumentValues& values,
                           const PdfSettings& settings, const std::string& path) {
    return replaceFileContents(path, pdfDocument(form, values, settings), /*markReadOnly=*/true);
}

} // namespace plaxet
