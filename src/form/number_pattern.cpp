#include "form/number_pattern.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace plaxet {
namespace {

enum class PieceKind { Literal, Year, ShortYear, Month, Counter };

struct Piece {
    PieceKind kind = PieceKind::Literal;
    std::string_view text; // the literal, or the placeholder between its braces
};

// The placeholder between braces, or nothing for an unknown one.
std::optional<PieceKind> placeholderKind(std::string_view inside) {
    if (inside == "YYYY") return PieceKind::Year;
    if (inside == "YY") return PieceKind::ShortYear;
    if (inside == "MM") return PieceKind::Month;
    if (!inside.empty() && inside.find_first_not_of('#') == std::string_view::npos)
        return PieceKind::Counter;
    return std::nullopt;
}

// Cuts the pattern into pieces; `problem` says why it cannot be.
std::vector<Piece> piecesOf(std::string_view pattern, std::string& problem) {
    std::vector<Piece> pieces;
    while (!pattern.empty()) {
        const size_t open = pattern.find('{');
        if (open != 0) {
            pieces.push_back({PieceKind::Literal, pattern.substr(0, open)});
            if (open == std::string_view::npos) break;
            pattern.remove_prefix(open);
        }
        const size_t close = pattern.find('}');
        const size_t nextOpen = pattern.find('{', 1);
        if (close == std::string_view::npos || nextOpen < close) {
            problem = "the number pattern has a \"{\" that is not closed";
            return {};
        }
        const std::string_view inside = pattern.substr(1, close - 1);
        const std::optional<PieceKind> kind = placeholderKind(inside);
        if (!kind) {
            problem = "the number pattern has an unknown placeholder {" + std::string(inside) +
                      "} (known: {YYYY}, {YY}, {MM} and {#} with as many # as digits)";
            return {};
        }
        pieces.push_back({*kind, inside});
        pattern.remove_prefix(close + 1);
    }
    return pieces;
}

std::string digits(int64_t value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, static_cast<long long>(value));
    return text;
}

} // namespace

std::string patternProblem(std::string_view pattern) {
    std::string problem;
    const std::vector<Piece> pieces = piecesOf(pattern, problem);
    if (!problem.empty()) return problem;
    int counters = 0;
    for (const Piece& piece : pieces) counters += piece.kind == PieceKind::Counter;
    for (const Piece& piece : pieces)
        if (piece.kind == PieceKind::Counter && piece.text.size() > 18)
            return "the number pattern's counter has more than 18 digits";
    if (counters != 1)
        return counters == 0 ? "the number pattern has no counter {#…}, so every number would be "
                               "the same"
                             : "the number pattern has more than one counter {#…}";
    return {};
}

std::string seriesPeriod(std::string_view pattern, CivilDate date) {
    std::string problem;
    bool byYear = false;
    bool byMonth = false;
    for (const Piece& piece : piecesOf(pattern, problem)) {
        byYear = byYear || piece.kind == PieceKind::Year || piece.kind == PieceKind::ShortYear;
        byMonth = byMonth || piece.kind == PieceKind::Month;
    }
    if (byMonth) return digits(date.year, 4) + "-" + digits(date.month, 2);
    if (byYear) return digits(date.year, 4);
    return {};
}

std::string formatNumber(std::string_view pattern, CivilDate date, int64_t counter) {
    std::string problem;
    std::string number;
    for (const Piece& piece : piecesOf(pattern, problem)) {
        switch (piece.kind) {
        case PieceKind::Literal:
            number += piece.text;
            break;
        case PieceKind::Year:
            number += digits(date.year, 4);
            break;
        case PieceKind::ShortYear:
            number += digits(date.year % 100, 2);
            break;
        case PieceKind::Month:
            number += digits(date.month, 2);
            break;
        case PieceKind::Counter:
            number += digits(counter, static_cast<int>(piece.text.size()));
            break;
        }
    }
    return number;
}

} // namespace plaxet
