#include "runtime/text.h"

#include "runtime/codepage.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <optional>

namespace plaxet {
namespace {

// Turns a 1-based position that may count from the end (-1 is the last byte)
// into a plain 1-based position; 0 or less when it lies before the start.
int32_t fromEnd(int32_t start, int32_t length) {
    return start < 0 ? length + start + 1 : start;
}

std::string_view fieldAt(const std::vector<std::string_view>& fields, int32_t n) {
    const auto count = static_cast<int32_t>(fields.size());
    if (n < 0) n = count + n + 1;
    if (n < 1 || n > count) return {};
    return fields[n - 1];
}

std::vector<std::string_view> splitAt(std::string_view s, std::string_view delimiter) {
    std::vector<std::string_view> fields;
    if (delimiter.empty()) return {s};
    size_t from = 0;
    for (;;) {
        size_t at = s.find(delimiter, from);
        if (at == std::string_view::npos) break;
        fields.push_back(s.substr(from, at - from));
        from = at + delimiter.size();
    }
    fields.push_back(s.substr(from));
    return fields;
}

std::vector<std::string_view> splitAtAny(std::string_view s, std::string_view set) {
    std::vector<std::string_view> fields;
    size_t from = 0;
    for (;;) {
        size_t at = set.empty() ? std::string_view::npos : s.find_first_of(set, from);
        if (at == std::string_view::npos) break;
        fields.push_back(s.substr(from, at - from));
        from = at + 1;
    }
    fields.push_back(s.substr(from));
    return fields;
}

// The bytes [begin, end) of s without cutting a character: a piece never
// holds part of one, and never more bytes than were asked for.
std::string wholeCharacters(std::string_view s, size_t begin, size_t end) {
    while (begin < end && !isCharacterBoundary(s, begin)) ++begin;
    while (end > begin && !isCharacterBoundary(s, end)) --end;
    return std::string(s.substr(begin, end - begin));
}

} // namespace

int32_t Len(std::string_view s) {
    return static_cast<int32_t>(s.size());
}

std::string Mid(std::string_view s, int32_t start, int32_t n) {
    const int32_t length = Len(s);
    start = fromEnd(start, length);
    if (start < 1 || start > length || n <= 0) return {};
    const auto begin = static_cast<size_t>(start - 1);
    return wholeCharacters(s, begin, begin + static_cast<size_t>(std::min(n, length - start + 1)));
}

std::string Left(std::string_view s, int32_t n) {
    if (n <= 0) return {};
    return wholeCharacters(s, 0, std::min(s.size(), static_cast<size_t>(n)));
}

std::string Right(std::string_view s, int32_t n) {
    if (n <= 0) return {};
    if (n >= Len(s)) return std::string(s);
    return wholeCharacters(s, s.size() - static_cast<size_t>(n), s.size());
}

int32_t InStr(int32_t start, std::string_view s, std::string_view t) {
    if (start == 0 || s.empty()) return 0;
    start = fromEnd(start, Len(s));
    if (start < 1) start = 1;
    if (t.empty()) return start;
    if (start > Len(s)) return 0;
    size_t at = s.find(t, static_cast<size_t>(start - 1));
    return at == std::string_view::npos ? 0 : static_cast<int32_t>(at) + 1;
}

int32_t InStrAny(int32_t start, std::string_view s, std::string_view set) {
    if (start == 0 || s.empty() || set.empty()) return 0;
    const int32_t length = Len(s);
    if (start > 0) {
        if (start > length) return 0;
        size_t at = s.find_first_of(set, static_cast<size_t>(start - 1));
        return at == std::string_view::npos ? 0 : static_cast<int32_t>(at) + 1;
    }
    int32_t from = fromEnd(start, length);
    if (from < 1) return 0;
    size_t at = s.find_last_of(set, static_cast<size_t>(from - 1));
    return at == std::string_view::npos ? 0 : static_cast<int32_t>(at) + 1;
}

int32_t ParseCountAny(std::string_view s, std::string_view set) {
    return static_cast<int32_t>(splitAtAny(s, set).size());
}

std::string ParseAny(std::string_view s, std::string_view set, int32_t n) {
    return std::string(fieldAt(splitAtAny(s, set), n));
}

std::vector<std::string> ParseAll(std::string_view s, std::string_view delimiter) {
    std::vector<std::string> fields;
    for (std::string_view f : splitAt(s, delimiter)) fields.emplace_back(f);
    return fields;
}

std::string Trim(std::string_view s) {
    return std::string(TrimView(s));
}

std::string_view TrimView(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string Remove(std::string_view s, std::string_view t) {
    if (t.empty()) return std::string(s);
    std::string out;
    for (std::string_view f : splitAt(s, t)) out += f;
    return out;
}

std::string LCase(std::string_view s) {
    std::string lower;
    lower.reserve(s.size());
    for (size_t at = 0; at < s.size();) {
        const auto byte = static_cast<unsigned char>(s[at]);
        if (byte < 0x80) {
            lower += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 0x20 : byte);
            ++at;
            continue;
        }
        const size_t start = at;
        const std::optional<uint32_t> codePoint = decodeUtf8(s, at);
        if (!codePoint) {
            lower += s[at++]; // not a character: kept as it is
            continue;
        }
        std::string character;
        appendUtf8(character, lowerCodePoint(*codePoint));
        // Positions in the lower-cased text hold for the text itself.
        if (character.size() == at - start)
            lower += character;
        else
            lower.append(s.substr(start, at - start));
    }
    return lower;
}

int Compare(std::string_view a, std::string_view b) {
    // string_view compares as unsigned bytes through char_traits<char>::compare.
    int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace plaxet
