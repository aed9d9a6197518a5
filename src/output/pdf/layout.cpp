#include "output/pdf/layout.h"

#include "output/document_items.h"
#include "output/document_output.h"
#include "output/pdf/shaped_text.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <deque>
#include <string>
#include <utility>

namespace plaxet {
namespace {

// Paper sizes in points (1/72 inch).
constexpr double kLetterWidth = 612, kLetterHeight = 792;
constexpr double kA4Width = 595.28, kA4Height = 841.89;

constexpr double kMargin = 54;         // three quarters of an inch on every side
constexpr double kFooterBaseline = 30; // "Page N of M", below the bottom margin
constexpr double kFooterSize = 9;

// The letterhead, the addressee block and the closing lines.
constexpr double kLetterheadSize = 12, kLetterheadLeading = 15;
constexpr double kAddresseeSize = 11, kAddresseeLeading = 14;
constexpr double kHeadingSize = 14, kHeadingLeading = 17;
constexpr double kRightColumn = 350; // where the heading word and the date stand
constexpr double kClosingSize = 10, kClosingLeading = 13;
constexpr double kNotesSize = 8, kNotesLeading = 10;
constexpr double kGap = 14;
// The payment code: about 30 mm wide, with a light zone of four modules around it.
constexpr double kPaymentCodeWidth = 85;
constexpr int kQuietModules = 4;

// The item table: date, description and amount columns, each cell padded.
constexpr double kDateColumn = 70, kAmountColumn = 110;
constexpr double kCellPadding = 4;
constexpr double kItemSize = 10, kItemLeading = 12;
constexpr double kHeaderSize = 11, kHeaderLeading = 13;
constexpr double kTotalsSize = 11, kTotalsLeading = 13;

enum class Align { Left, Centre, Right };

struct Cell {
    std::vector<std::string_view> lines;
    Align align = Align::Left;
};

struct Row {
    std::array<Cell, 3> cells;
    PdfFont font = PdfFont::Regular;
    double size = kItemSize;
    double leading = kItemLeading;

    size_t lineCount() const {
        size_t lines = 1;
        for (const Cell& cell : cells) lines = std::max(lines, cell.lines.size());
        return lines;
    }
    double height(size_t lines) const {
        return static_cast<double>(lines) * leading + 2 * kCellPadding;
    }
    double height() const { return height(lineCount()); }
};

constexpr std::string_view kSoftHyphen = "\xC2\xAD";

bool isLineSpace(unsigned char c) {
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether a text holds a control character or a soft hyphen (U+0080 to
// U+00BF all begin with the byte C2), which the page shows otherwise than typed.
bool needsCleaning(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == 0xC2) return true;
    }
    return false;
}

// The text as a browser shows it: a run of blanks that holds a tab or a line
// break reads as one blank, and the other control characters (C0, DEL, C1)
// show nothing. Soft hyphens stay for the line breaking.
std::string cleanedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == ' ' || isLineSpace(byte)) {
            size_t end = at;
            bool lineSpace = false;
            for (; end < text.size() &&
                   (text[end] == ' ' || isLineSpace(static_cast<unsigned char>(text[end])));
                 ++end)
                lineSpace = lineSpace || text[end] != ' ';
            out.append(lineSpace ? 1 : end - at, ' ');
            at = end;
        } else if (byte < 0x20 || byte == 0x7F) {
            ++at;
        } else if (byte == 0xC2 && at + 1 < text.size() &&
                   static_cast<unsigned char>(text[at + 1]) <= 0x9F) {
            at += 2; // a C1 control character
        } else {
            out += text[at++];
        }
    }
    return out;
}

// A line as drawn: soft hyphens vanish, except one that ends the line, where
// the word was broken, which shows as a hyphen.
std::string drawnLine(std::string_view line) {
    if (line.find(kSoftHyphen) == std::string_view::npos) return std::string(line);
    const bool brokenHere = line.ends_with(kSoftHyphen);
    if (brokenHere) line.remove_suffix(kSoftHyphen.size());
    std::string out;
    for (size_t at = 0;;) {
        const size_t hyphen = line.find(kSoftHyphen, at);
        out.append(line.substr(at, hyphen - at));
        if (hyphen == std::string_view::npos) break;
        at = hyphen + kSoftHyphen.size();
    }
    if (brokenHere) out += '-';
    return out;
}

// Where a line was put: its page and the top of the line.
struct LinePlace {
    size_t page = 0;
    double top = 0;
};

// Places texts and rules page by page, from the top down.
class Pager {
  public:
    Pager(const PdfFonts& fonts, PaperSize paper) : fonts_(fonts) {
        layout_.width = paper == PaperSize::A4 ? kA4Width : kLetterWidth;
        layout_.height = paper == PaperSize::A4 ? kA4Height : kLetterHeight;
        const double content = layout_.width - 2 * kMargin;
        columnX_ = {kMargin, kMargin + kDateColumn, kMargin + content - kAmountColumn,
                    kMargin + content};
        newPage();
    }

    double contentWidth() const { return layout_.width - 2 * kMargin; }
    double columnWidth(size_t column) const { return columnX_[column + 1] - columnX_[column]; }

    // The lines point into the text, or into a cleaned copy the pager keeps
    // for a text with control characters, so they live as long as the pager.
    std::vector<std::string_view> wrap(std::string_view text, double width, PdfFont font,
                                       double size) {
        return wrapText(shown(text), width, fonts_, font, size);
    }
    void wrapInto(std::vector<std::string_view>& lines, std::string_view text, double width,
                  PdfFont font, double size) {
        wrapTextInto(lines, shown(text), width, fonts_, font, size);
    }

    void skip(double height) { y_ -= height; }
    double y() const { return y_; }

    // A block `height` tall that must stand whole on one page.
    void keepTogether(double height) {
        if (!fits(height) && !atPageTop()) newPage();
    }
    void box(double x, double y, double width, double height) {
        page().boxes.push_back({x, y, width, height});
    }

    // One line of text in a box from `x`, `width` wide, moving down by `leading`.
    LinePlace line(std::string_view text, double x, double width, Align align, PdfFont font,
                   double size, double leading) {
        if (!fits(leading) && !atPageTop()) newPage();
        const LinePlace place{layout_.pages.size() - 1, y_};
        put(text, x, width, align, font, size, y_);
        y_ -= leading;
        return place;
    }

    // A table row, its header row first where the table starts on a page.
    // `keepHeight` is what must follow on the same page.
    void row(const Row& row, double keepHeight) {
        const double header = headerPending_ ? header_.height() : 0;
        if (!fits(header + row.height() + keepHeight) && !atPageTop()) {
            if (!headerPending_) endTableSegment();
            newPage();
            headerPending_ = true;
        }
        if (headerPending_) startTableSegment();
        // A row taller than what is left of an empty page is split between lines.
        size_t from = 0;
        const size_t lines = row.lineCount();
        while (from < lines) {
            size_t to = lines;
            while (to > from + 1 && !fits(row.height(to - from))) --to;
            drawRow(row, from, to);
            from = to;
            if (from < lines) {
                endTableSegment();
                newPage();
                startTableSegment();
            }
        }
    }

    void setTableHeader(Row header) {
        header_ = std::move(header);
        headerPending_ = true;
    }
    void endTable() {
        if (!headerPending_) endTableSegment();
    }

    bool fits(double height) const { return y_ - height >= kMargin - 0.001; }
    bool atPageTop() const { return y_ >= pageTop() - 0.001; }
    void newPage() {
        layout_.pages.emplace_back();
        y_ = pageTop();
    }

    PdfLayout finish() {
        const size_t count = layout_.pages.size();
        for (size_t i = 0; i < count; ++i) {
            PdfPage& page = layout_.pages[i];
            const std::string number =
                "Page " + std::to_string(i + 1) + " of " + std::to_string(count);
            const double width = textWidth(fonts_, PdfFont::Regular, number, kFooterSize);
            page.texts.push_back({(layout_.width - width) / 2, kFooterBaseline, PdfFont::Regular,
                                  kFooterSize, number});
        }
        return std::move(layout_);
    }

    // A text on the current page whose line's top is at `lineTop`, without moving down.
    void put(std::string_view text, double x, double width, Align align, PdfFont font, double size,
             double lineTop) {
        putOn(layout_.pages.size() - 1, text, x, width, align, font, size, lineTop);
    }
    // The same on an earlier page.
    void putOn(size_t pageIndex, std::string_view line, double x, double width, Align align,
               PdfFont font, double size, double lineTop) {
        if (line.empty()) return;
        std::string text = drawnLine(line);
        double at = x;
        if (align != Align::Left) {
            const double free = width - lineWidth(fonts_, font, text, size);
            at += align == Align::Right ? free : free / 2;
        }
        layout_.pages[pageIndex].texts.push_back({at, lineTop - size, font, size, std::move(text)});
    }

  private:
    double pageTop() const { return layout_.height - kMargin; }
    std::string_view shown(std::string_view text) {
        if (!needsCleaning(text)) return text;
        return cleaned_.emplace_back(cleanedText(text));
    }
    PdfPage& page() { return layout_.pages.back(); }

    void rule(double x1, double y1, double x2, double y2) {
        page().rules.push_back({x1, y1, x2, y2});
    }

    void startTableSegment() {
        headerPending_ = false;
        segmentTop_ = y_;
        rule(columnX_[0], y_, columnX_[3], y_);
        drawRow(header_, 0, header_.lineCount());
    }

    void endTableSegment() {
        for (double x : columnX_) rule(x, segmentTop_, x, y_);
    }

    void drawRow(const Row& row, size_t from, size_t to) {
        for (size_t column = 0; column < 3; ++column) {
            const Cell& cell = row.cells[column];
            const double x = columnX_[column] + kCellPadding;
            const double width = columnWidth(column) - 2 * kCellPadding;
            for (size_t i = from; i < to && i < cell.lines.size(); ++i)
                put(cell.lines[i], x, width, cell.align, row.font, row.size,
                    y_ - kCellPadding - static_cast<double>(i - from) * row.leading);
        }
        y_ -= row.height(to - from);
        rule(columnX_[0], y_, columnX_[3], y_);
    }

    const PdfFonts& fonts_;
    PdfLayout layout_;
    std::array<double, 4> columnX_{};
    double y_ = 0;
    Row header_;
    bool headerPending_ = false;
    double segmentTop_ = 0;
    std::deque<std::string> cleaned_; // stays where it is made, as lines point into it
};

// Fills `row` in place, so that the item rows reuse one row's line lists.
void fillTableRow(Row& row, Pager& pager, std::array<std::string_view, 3> texts,
                  std::array<Align, 3> aligns, PdfFont font, double size, double leading) {
    row.font = font;
    row.size = size;
    row.leading = leading;
    for (size_t column = 0; column < 3; ++column) {
        pager.wrapInto(row.cells[column].lines, texts[column],
                       pager.columnWidth(column) - 2 * kCellPadding, font, size);
        row.cells[column].align = aligns[column];
    }
}

Row tableRow(Pager& pager, std::array<std::string_view, 3> texts, std::array<Align, 3> aligns,
             PdfFont font, double size, double leading) {
    Row row;
    fillTableRow(row, pager, texts, aligns, font, size, leading);
    return row;
}

void letterhead(Pager& pager, const FormDocument& form) {
    // As the other documents: the lines up to the first empty one.
    for (const std::string& sender : form.senderLines) {
        if (sender.empty()) break;
        for (std::string_view text :
             pager.wrap(sender, pager.contentWidth(), PdfFont::Bold, kLetterheadSize))
            pager.line(text, kMargin, pager.contentWidth(), Align::Centre, PdfFont::Bold,
                       kLetterheadSize, kLetterheadLeading);
    }
    pager.skip(kGap);
}

// The addressee's four lines on the left, then the buyer's tax details; the
// heading word beside the first line, the number beside the second, the
// long date beside the third and the due date beside the fourth, read after
// the addressee as in the HTM page.
void addresseeBlock(Pager& pager, const FormDocument& form, const DocumentValues& values) {
    const double leftWidth = kRightColumn - kCellPadding * 2;
    const double rightWidth = pager.contentWidth() - kRightColumn;
    // Where each line's first piece went: a long block can run onto the next
    // page, and the heading and date stand beside the lines they belong to.
    std::array<LinePlace, 4> places{};
    for (size_t i = 0; i < form.addresseeLines.size(); ++i) {
        // The first line leaves room for the larger heading word beside it.
        const double leading = i == 0 ? kHeadingLeading : kAddresseeLeading;
        bool first = true;
        for (std::string_view text :
             pager.wrap(form.addresseeLines[i], leftWidth, PdfFont::Bold, kAddresseeSize)) {
            const LinePlace place = pager.line(text, kMargin, leftWidth, Align::Left, PdfFont::Bold,
                                               kAddresseeSize, leading);
            if (first) places[i] = place;
            first = false;
        }
    }
    for (const std::string& buyer : values.buyerLines)
        for (std::string_view text : pager.wrap(buyer, leftWidth, PdfFont::Regular, kAddresseeSize))
            pager.line(text, kMargin, leftWidth, Align::Left, PdfFont::Regular, kAddresseeSize,
                       kAddresseeLeading);
    // The texts on the right belong to the top of the document: beside a
    // line that has run onto a later page, they stay on the first line's
    // page, where that line would stand after single lines.
    const auto beside = [&places](size_t line) {
        if (places[line].page == places[0].page) return places[line];
        return LinePlace{places[0].page, places[0].top - kHeadingLeading -
                                             static_cast<double>(line - 1) * kAddresseeLeading};
    };
    const struct {
        std::string_view text;
        LinePlace place;
        double size, leading;
    } right[] = {{values.heading, places[0], kHeadingSize, kHeadingLeading},
                 {values.numberLine, beside(1), kAddresseeSize, kAddresseeLeading},
                 {values.longDate, beside(2), kAddresseeSize, kAddresseeLeading},
                 {values.dueLine, beside(3), kAddresseeSize, kAddresseeLeading}};
    for (const auto& r : right) {
        double lineTop = r.place.top;
        for (std::string_view text : pager.wrap(r.text, rightWidth, PdfFont::Bold, r.size)) {
            pager.putOn(r.place.page, text, kMargin + kRightColumn, rightWidth, Align::Left,
                        PdfFont::Bold, r.size, lineTop);
            lineTop -= r.leading;
        }
    }
    pager.skip(kGap);
}

// Lines of one size and font, each wrapped to the page's width.
void paragraphLines(Pager& pager, const std::vector<std::string>& texts, Align align, PdfFont font,
                    double size, double leading) {
    for (const std::string& paragraph : texts)
        for (std::string_view text : pager.wrap(paragraph, pager.contentWidth(), font, size))
            pager.line(text, kMargin, pager.contentWidth(), align, font, size, leading);
}

// The payment code at the left margin, a filled rectangle for each run of
// dark modules in a row, each module a whole number of hundredths of a
// point, so that the rectangles meet exactly; "Scan to pay" centred under it.
void paymentCodeBlock(Pager& pager, const QrCode& code) {
    const double module = std::round(kPaymentCodeWidth / code.size * 100) / 100;
    const double side = module * code.size;
    const double quiet = kQuietModules * module;
    pager.keepTogether(quiet + side + quiet + kNotesLeading);
    const double top = std::round((pager.y() - quiet) * 100) / 100;
    for (const QrRun& run : darkRuns(code))
        pager.box(kMargin + run.x * module, top - (run.y + 1) * module, run.length * module,
                  module);
    pager.skip(quiet + side + quiet);
    pager.line("Scan to pay", kMargin, side, Align::Centre, PdfFont::Regular, kNotesSize,
               kNotesLeading);
}

} // namespace

std::vector<std::string_view> wrapText(std::string_view text, double width, const PdfFonts& fonts,
                                       PdfFont font, double size) {
    std::vector<std::string_view> lines;
    wrapTextInto(lines, text, width, fonts, font, size);
    return lines;
}

namespace {

// A text whose letters join or run from right to left is as wide as its
// shaped glyphs, which a character's own width does not tell: its lines
// are found word by word, each measured whole. A word wider than the
// column alone is cut where its characters' own widths say.
bool wrapShapedInto(std::vector<std::string_view>& lines, std::string_view text, double width,
                    const PdfFonts& fonts, PdfFont font, double size) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start; // the longest run of whole words that fits
        for (size_t blank = text.find(' ', start);; blank = text.find(' ', blank + 1)) {
            const size_t candidate = blank == std::string_view::npos ? text.size() : blank;
            if (candidate > start &&
                lineWidth(fonts, font, text.substr(start, candidate - start), size) > width)
                break;
            end = candidate;
            if (candidate == text.size()) break;
        }
        if (end == start) return false; // a word alone is too wide
        size_t lineEnd = end;
        while (lineEnd > start && text[lineEnd - 1] == ' ') --lineEnd;
        lines.push_back(text.substr(start, lineEnd - start));
        start = end;
        while (start < text.size() && text[start] == ' ') ++start;
    }
    if (lines.empty()) lines.push_back(text);
    return true;
}

} // namespace

void wrapTextInto(std::vector<std::string_view>& lines, std::string_view text, double width,
                  const PdfFonts& fonts, PdfFont font, double size) {
    lines.clear();
    if (needsShaping(text) && text.find(kSoftHyphen) == std::string_view::npos &&
        wrapShapedInto(lines, text, width, fonts, font, size))
        return;
    lines.clear();
    const double limit = width * 1000.0 / size; // in thousandths of the size
    size_t hyphenAt = 0;
    const double hyphenWidth = characterWidth(fonts, font, "-", hyphenAt);
    size_t start = 0;
    while (true) {
        double used = 0;
        size_t end = start;
        size_t lastBlank = std::string_view::npos;
        size_t lastHyphenBreak = std::string_view::npos; // just after a soft hyphen that fits
        while (end < text.size()) {
            size_t next = end;
            used += characterWidth(fonts, font, text, next);
            if (text[end] == ' ') lastBlank = end;
            if (used > limit && text[end] != ' ') break;
            if (text[end] == kSoftHyphen[0] && text.substr(end).starts_with(kSoftHyphen) &&
                used + hyphenWidth <= limit)
                lastHyphenBreak = next;
            end = next;
        }
        if (end == text.size()) {
            lines.push_back(text.substr(start));
            return;
        }
        const bool blankBreak = lastBlank != std::string_view::npos && lastBlank > start;
        if (lastHyphenBreak != std::string_view::npos &&
            (!blankBreak || lastHyphenBreak > lastBlank)) {
            // The word is broken where its soft hyphen allows; the line keeps it.
            lines.push_back(text.substr(start, lastHyphenBreak - start));
            start = lastHyphenBreak;
            continue;
        }
        size_t cut = blankBreak ? lastBlank : end;
        if (cut == start) { // a glyph wider than the column still moves on
            size_t next = start;
            characterWidth(fonts, font, text, next);
            cut = next;
        }
        size_t lineEnd = cut;
        while (lineEnd > start && text[lineEnd - 1] == ' ') --lineEnd;
        if (lineEnd == start) lineEnd = cut; // blanks alone stay as typed
        lines.push_back(text.substr(start, lineEnd - start));
        start = cut;
        while (start < text.size() && text[start] == ' ') ++start;
        if (start == text.size()) return;
    }
}

PdfLayout pdfLayout(const FormDocument& form, const DocumentValues& values, const PdfFonts& fonts,
                    PaperSize paper) {
    Pager pager(fonts, paper);
    letterhead(pager, form);
    addresseeBlock(pager, form, values);

    pager.setTableHeader(tableRow(pager, {"Date", "Description", "Cost"},
                                  {Align::Centre, Align::Centre, Align::Centre}, PdfFont::Bold,
                                  kHeaderSize, kHeaderLeading));
    const std::string totalAmount = Format(values.totalRowAmount);
    const Row totals = tableRow(pager, {"", values.totalLabel, totalAmount},
                                {Align::Left, Align::Right, Align::Right}, PdfFont::Bold,
                                kTotalsSize, kTotalsLeading);
    const std::vector<std::string_view> closing =
        pager.wrap(values.closingSentence, pager.contentWidth(), PdfFont::Bold, kClosingSize);
    // The closing sentence and "Thank you" below it.
    const double closingHeight = kGap + static_cast<double>(closing.size() + 1) * kClosingLeading;

    const size_t items = printedItemCount(form, values);
    Row row;
    for (size_t i = 0; i < items; ++i) {
        const DocumentItem item = documentItem(form, i);
        fillTableRow(row, pager, {item.date, item.description, costText(values.printedCosts, i)},
                     {Align::Left, item.computed ? Align::Right : Align::Left, Align::Right},
                     PdfFont::Regular, kItemSize, kItemLeading);
        // The last item goes with the totals row and the closing sentence.
        pager.row(row, i + 1 == items ? totals.height() + closingHeight : 0);
    }
    pager.row(totals, closingHeight);
    pager.endTable();

    pager.skip(kGap);
    for (std::string_view text : closing)
        pager.line(text, kMargin, pager.contentWidth(), Align::Left, PdfFont::Bold, kClosingSize,
                   kClosingLeading);
    paragraphLines(pager, values.termsLines, Align::Left, PdfFont::Regular, kClosingSize,
                   kClosingLeading);
    pager.line("Thank you", kMargin, pager.contentWidth(), Align::Left, PdfFont::Bold, kClosingSize,
               kClosingLeading);
    pager.skip(kGap);
    paragraphLines(pager, values.notesLines, Align::Left, PdfFont::Regular, kNotesSize,
                   kNotesLeading);
    if (values.paymentCode) {
        pager.skip(kGap);
        paymentCodeBlock(pager, *values.paymentCode);
    }
    if (!values.footerLines.empty()) {
        pager.skip(kGap);
        paragraphLines(pager, values.footerLines, Align::Centre, PdfFont::Regular, kNotesSize,
                       kNotesLeading);
    }
    return pager.finish();
}

} // namespace plaxet
