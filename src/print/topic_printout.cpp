#include "print/topic_printout.h"

#include "runtime/text.h"

#include <algorithm>
#include <cstdint>

namespace plaxet {
namespace {

constexpr double kLeftMargin = 0.75;
constexpr double kRightMargin = 0.75;
constexpr double kTopMargin = 0.25;
constexpr double kBottomMargin = 0.5;
constexpr char kFace[] = "Courier New";
constexpr int32_t kBodyPoints = 10;
constexpr int32_t kHeadingPoints = 12;
constexpr std::string_view kBreakCharacters = " -,;:.()[]{}<>~/|\\=";
constexpr std::string_view kOpeningBrackets = "([{<";
// The heading and the gap below it take the first four line slots.
constexpr int32_t kHeadingSlots = 4;

std::vector<std::string> bodyLines(std::string_view body) {
    std::vector<std::string> lines;
    size_t position = 0;
    while (position <= body.size()) {
        const size_t end = body.find("\r\n", position);
        if (end == std::string_view::npos) {
            lines.emplace_back(body.substr(position));
            break;
        }
        lines.emplace_back(body.substr(position, end - position));
        position = end + 2;
    }
    // A body ending in CR LF has no line after it.
    if (lines.size() > 1 && lines.back().empty() && body.ends_with("\r\n")) lines.pop_back();
    return lines;
}

struct PageLayout {
    double pageWidth = 0;
    double lineHeight = 0;
    std::string heading;
};

void printPageTop(cTPrint& printer, const PageLayout& layout, int32_t pageNumber) {
    const std::string pageText = "Page " + std::to_string(pageNumber);
    const double pageTextWidth = printer.TextWidth(pageText);
    printer.SetFont(kFace, kHeadingPoints, "u");
    printer.PrintText(layout.heading, kLeftMargin, kTopMargin);
    printer.SetFont(kFace, kBodyPoints, "");
    printer.PrintText(pageText, layout.pageWidth - kRightMargin - pageTextWidth, kTopMargin);
    printer.SetPosition(kLeftMargin, kHeadingSlots * layout.lineHeight);
}

} // namespace

std::string expandTabs(std::string_view line) {
    std::string expanded;
    size_t fieldStart = 0;
    for (size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', fieldStart)) {
        const size_t fieldLength = tab - fieldStart;
        expanded.append(line.substr(fieldStart, fieldLength));
        expanded.append(8 - fieldLength % 8, ' ');
        fieldStart = tab + 1;
    }
    expanded.append(line.substr(fieldStart));
    return expanded;
}

std::vector<std::string>
breakLine(std::string_view line, const std::function<bool(std::string_view)>& fits,
          const std::function<std::string(std::string_view)>& fittingHead) {
    if (fits(line)) return {std::string(line)};
    std::vector<std::string> rows;
    std::string_view rest = line;
    while (!rest.empty()) {
        if (fits(rest)) {
            const std::string_view last = TrimView(rest);
            // Spaces left over after the last cut make no row of their own.
            if (!last.empty()) rows.emplace_back(last);
            break;
        }
        const std::string head = fittingHead(rest);
        size_t pieceLength = 0;
        const size_t lastBreak = head.find_last_of(kBreakCharacters);
        if (lastBreak != std::string::npos) {
            const bool opening = kOpeningBrackets.find(head[lastBreak]) != std::string_view::npos;
            pieceLength = opening ? lastBreak : lastBreak + 1;
        }
        // No break character, or only an opening bracket at the very start:
        // cut where the text stops fitting, but always move on.
        if (pieceLength == 0) pieceLength = std::max<size_t>(head.size(), 1);
        pieceLength = std::min(pieceLength, rest.size());
        rows.emplace_back(TrimView(rest.substr(0, pieceLength)));
        rest.remove_prefix(pieceLength);
    }
    return rows;
}

PrintOutcome printTopic(cTPrint& printer, std::string_view heading, std::string_view body) {
    if (printer.ChoosePrinter().empty()) return PrintOutcome::Cancelled;
    printer.SetMargins(kLeftMargin, kRightMargin, kTopMargin, kBottomMargin);
    PageLayout layout;
    double pageHeight = 0;
    printer.GetPageSize(layout.pageWidth, pageHeight);
    layout.heading = std::string(heading.substr(0, 255));

    printer.SetFont(kFace, kBodyPoints, "");
    const int32_t linesPerPage = printer.LinesLeft(0);
    const double printableWidth = layout.pageWidth - kLeftMargin - kRightMargin;
    const auto fits = [&](std::string_view text) {
        return printer.TextWidth(text) <= printableWidth;
    };
    const auto fittingHead = [&](std::string_view text) {
        return printer.FitText(text, printableWidth);
    };
    std::vector<std::string> rows;
    for (const std::string& line : bodyLines(body)) {
        std::vector<std::string> lineRows = breakLine(expandTabs(line), fits, fittingHead);
        rows.insert(rows.end(), std::make_move_iterator(lineRows.begin()),
                    std::make_move_iterator(lineRows.end()));
    }
    // Every page holds at least one row, however small the paper.
    const size_t rowsPerPage = static_cast<size_t>(std::max(1, linesPerPage - kHeadingSlots));
    if (printer.IsDuplex()) printer.SetDuplex(rows.size() > rowsPerPage ? 2 : 1);

    if (!printer.StartDoc("appHelp")) return PrintOutcome::Failed;
    if (!printer.StartPage()) {
        printer.AbortDoc();
        return PrintOutcome::Failed;
    }
    double averageCharWidth = 0;
    printer.GetTextMetrics(averageCharWidth, layout.lineHeight);
    printPageTop(printer, layout, 1);
    int32_t pageNumber = 1;
    for (size_t row = 0; row < rows.size(); ++row) {
        if (row > 0 && row % rowsPerPage == 0) {
            if (!printer.EndPage() || !printer.StartPage()) {
                printer.AbortDoc();
                return PrintOutcome::Failed;
            }
            printPageTop(printer, layout, ++pageNumber);
        }
        printer.PrintText(rows[row], 0, 0);
    }
    if (!printer.EndPage()) {
        printer.AbortDoc();
        return PrintOutcome::Failed;
    }
    // A document the spooler refuses at its end is reported, never taken as printed.
    return printer.EndDoc() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace plaxet
