// The portable build's code page: 1252 from its own table, any other that
// the C library's converter knows (plaxet-cli --codepage N) through iconv.
#include "runtime/codepage.h"

#include "runtime/utf8.h"

#include <cerrno>
#include <clocale>
#include <cwctype>
#include <iconv.h>
#include <locale.h>
#include <string>
#include <wctype.h>

namespace plaxet {
namespace {

// A converter opened once for the rest of the process.
class Converter {
  public:
    Converter() = default;
    Converter(const std::string& to, const std::string& from)
        : handle_(iconv_open(to.c_str(), from.c_str())) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    Converter& operator=(Converter&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // The whole of `in` converted, or nothing when some of it does not convert.
    std::optional<std::string> convert(std::string_view in) const {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 4 + 8, '\0');
        char* from = const_cast<char*>(in.data());
        size_t fromLeft = in.size();
        char* to = out.data();
        size_t toLeft = out.size();
        if (iconv(handle_, &from, &fromLeft, &to, &toLeft) == static_cast<size_t>(-1) ||
            iconv(handle_, nullptr, nullptr, &to, &toLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - toLeft);
        return out;
    }

  private:
    iconv_t handle_ = reinterpret_cast<iconv_t>(-1);
};

// The locale whose rules give the nearest letters and the lower cases; on a
// system without it, characters outside the code page become "?" and only
// the letters of code page 1252 change case.
locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C.UTF-8", locale_t{});
    return locale;
}

struct CodePage {
    uint32_t number = 1252;
    Converter toPage;       // exact
    Converter toPageNearly; // with the nearest letters
    Converter fromPage;
};

CodePage& codePage() {
    static CodePage page;
    return page;
}

std::string pageName(uint32_t number) {
    return number == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(number);
}

std::string nearestText(std::string_view character) {
    const CodePage& page = codePage();
    if (page.toPageNearly.valid() && unicodeLocale() != locale_t{}) {
        const locale_t previous = uselocale(unicodeLocale());
        std::optional<std::string> near = page.toPageNearly.convert(character);
        uselocale(previous);
        if (near && !near->empty()) return *near;
    }
    return "?";
}

uint32_t lower1252(uint32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
    case 0x160:
        return 0x161; // S caron
    case 0x152:
        return 0x153; // OE
    case 0x17D:
        return 0x17E; // Z caron
    case 0x178:
        return 0xFF; // Y diaeresis
    default:
        return c;
    }
}

} // namespace

bool useCodePage(uint32_t number) {
    CodePage page;
    page.number = number;
    if (number != 1252) {
        page.toPage = Converter(pageName(number), "UTF-8");
        page.fromPage = Converter("UTF-8", pageName(number));
        if (!page.toPage.valid() || !page.fromPage.valid()) return false;
    }
    page.toPageNearly = Converter(pageName(number) + "//TRANSLIT", "UTF-8");
    codePage() = std::move(page);
    return true;
}

uint32_t codePageInUse() {
    return codePage().number;
}

CodePageText toCodePage(std::string_view utf8) {
    CodePage& page = codePage();
    if (page.number == 1252 && !page.toPageNearly.valid())
        page.toPageNearly = Converter("CP1252//TRANSLIT", "UTF-8");
    CodePageText out;
    out.bytes.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const size_t start = at;
        const uint32_t codePoint = nextCodePoint(utf8, at);
        if (codePoint < 0x80) {
            out.bytes += static_cast<char>(codePoint);
            continue;
        }
        const std::string_view character = utf8.substr(start, at - start);
        if (page.number == 1252) {
            if (const std::optional<unsigned char> byte = cp1252Byte(codePoint);
                byte && codePoint != 0xFFFD) {
                out.bytes += static_cast<char>(*byte);
                continue;
            }
        } else if (codePoint != 0xFFFD) {
            if (std::optional<std::string> bytes = page.toPage.convert(character)) {
                out.bytes += *bytes;
                continue;
            }
        }
        out.exact = false;
        out.bytes += nearestText(character);
    }
    return out;
}

std::string fromCodePage(std::string_view bytes) {
    const CodePage& page = codePage();
    if (page.number == 1252) return utf8FromCp1252(bytes);
    if (std::optional<std::string> whole = page.fromPage.convert(bytes)) return *whole;
    // Some bytes are no character of the code page: each character on its own.
    std::string out;
    for (size_t at = 0; at < bytes.size();) {
        size_t length = 1;
        std::optional<std::string> character;
        for (; length <= 4 && at + length <= bytes.size() && !character; ++length)
            character = page.fromPage.convert(bytes.substr(at, length));
        if (character) {
            out += *character;
            at += length - 1;
        } else {
            appendUtf8(out, 0xFFFD);
            ++at;
        }
    }
    return out;
}

uint32_t lowerCodePoint(uint32_t codePoint) {
    if (codePoint < 0x80)
        return codePoint >= 'A' && codePoint <= 'Z' ? codePoint + 0x20 : codePoint;
    if (unicodeLocale() == locale_t{}) return lower1252(codePoint);
    return static_cast<uint32_t>(towlower_l(static_cast<wint_t>(codePoint), unicodeLocale()));
}

} // namespace plaxet
