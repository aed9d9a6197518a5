// The system's ANSI code page (or the one plaxet-cli was told to use),
// converted by Windows itself.
#include "runtime/codepage.h"

#include "runtime/utf8.h"
#include "runtime/wide.h"

#include <string>
#include <windows.h>

namespace plaxet {
namespace {

UINT chosenCodePage = CP_ACP;

std::wstring wideFromPage(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(chosenCodePage, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(chosenCodePage, 0, bytes.data(), size, wide.data(), units);
    return wide;
}

} // namespace

bool useCodePage(uint32_t number) {
    if (!IsValidCodePage(number)) return false;
    chosenCodePage = number;
    return true;
}

uint32_t codePageInUse() {
    return chosenCodePage == CP_ACP ? GetACP() : chosenCodePage;
}

CodePageText toCodePage(std::string_view utf8) {
    if (isAscii(utf8)) return {std::string(utf8), true};
    const std::wstring wide = toWide(utf8);
    const int units = static_cast<int>(wide.size());
    // Without flags Windows writes the nearest letter where it knows one
    // (a for ą) and the code page's default character otherwise.
    const int size =
        WideCharToMultiByte(chosenCodePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    CodePageText out;
    out.bytes.assign(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(chosenCodePage, 0, wide.data(), units, out.bytes.data(), size, nullptr,
                            nullptr);
    // Exact when the bytes give the same characters back.
    out.exact = wideFromPage(out.bytes) == wide && fromWide(wide) == utf8;
    return out;
}

std::string fromCodePage(std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    return fromWide(wideFromPage(bytes));
}

uint32_t lowerCodePoint(uint32_t codePoint) {
    if (codePoint < 0x80)
        return codePoint >= 'A' && codePoint <= 'Z' ? codePoint + 0x20 : codePoint;
    std::string one;
    appendUtf8(one, codePoint);
    std::wstring wide = toWide(one);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    const std::string lower = fromWide(wide);
    size_t at = 0;
    return nextCodePoint(lower, at);
}

} // namespace plaxet
