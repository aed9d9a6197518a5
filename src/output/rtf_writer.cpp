#include "output/rtf_writer.h"

#include "output/document_items.h"
#include "output/document_output.h"
#include "output/escaping.h"
#include "runtime/numbers.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace plaxet {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A single border on all four sides of a cell, 10 twips wide.
constexpr std::string_view kCellBorders = "\\clbrdrt\\brdrw10\\brdrs\\clbrdrl\\brdrw10\\brdrs"
                                          "\\clbrdrb\\brdrw10\\brdrs\\clbrdrr\\brdrw10\\brdrs";

// Appends one line of the document's own markup.
void markup(std::string& out, std::string_view line) {
    out += line;
    out += kLineEnd;
}

// Appends a line of markup around one text from the form.
void line(std::string& out, uint32_t codePage, std::string_view before, std::string_view text,
          std::string_view after) {
    out += before;
    appendRtfText(out, text, codePage);
    out += after;
    out += kLineEnd;
}

// An addressee line, with a text at the tab stop beside it when there is one.
void besideTab(std::string& out, uint32_t codePage, std::string_view addresseeLine,
               std::string_view beside) {
    if (beside.empty()) return line(out, codePage, "", addresseeLine, "\\line");
    appendRtfText(out, addresseeLine, codePage);
    line(out, codePage, "\\tab ", beside, "\\line");
}

// A table row's definition line, then three bordered cells ending at the given twips.
std::string tableRowStart(std::string_view rowDefinition) {
    std::string start;
    markup(start, rowDefinition);
    for (std::string_view position : {"\\cellx1600", "\\cellx7200", "\\cellx9000"}) {
        start += kCellBorders;
        markup(start, position);
    }
    return start;
}

// The fixed markup of an item row is about 400 bytes; the texts come on top.
size_t estimatedSize(const FormDocument& form) {
    const size_t items = countedItems(form);
    size_t size = 2048 + form.notes.size();
    for (size_t i = 0; i < items; ++i)
        size += 420 + form.items[i].date.size() + form.items[i].description.size();
    return size;
}

// Builds the document into `output`, handing it on in pieces when it has a sink.
void buildRtfDocument(const FormDocument& form, const DocumentValues& values,
                      const DocumentSettings& settings, DocumentOutput& output) {
    const size_t items = printedItemCount(form, values);
    std::string& out = output.text;
    const uint32_t codePage = settings.codePage;

    out += "{\\rtf1";
    markup(out, rtfCharacterSetHeader(settings.codePage));
    markup(out, "{\\pard \\fs24 \\qc \\b \\sl300\\slmult1");
    for (const std::string& sender : form.senderLines) {
        if (sender.empty()) break;
        line(out, codePage, "", sender, "\\line");
    }
    markup(out, "\\par}");

    const auto& addressee = form.addresseeLines;
    markup(out, "{\\pard \\tx7000 \\fs22 \\b");
    appendRtfText(out, addressee[0], codePage);
    line(out, codePage, "\\tab {\\fs24", values.heading, "\\line}");
    besideTab(out, codePage, addressee[1], values.numberLine);
    appendRtfText(out, addressee[2], codePage);
    line(out, codePage, "\\tab ", values.longDate, "\\line");
    besideTab(out, codePage, addressee[3], values.dueLine);
    for (const std::string& buyer : values.buyerLines)
        line(out, codePage, "{\\b0 ", buyer, "}\\line");
    markup(out, "\\line \\par}");

    out += tableRowStart("\\trowd\\trgaph180\\fs22\\b");
    markup(out, "{\\pard\\intbl\\qc\\b Date\\cell}");
    markup(out, "{\\pard\\intbl\\qc\\b Description\\cell}");
    markup(out, "{\\pard\\intbl\\qc\\b Cost\\cell}");
    markup(out, "\\row");

    // Every item row and the totals row open with the same definition.
    const std::string rowStart = tableRowStart("\\trowd\\trgaph180");
    for (size_t i = 0; i < items; ++i) {
        const DocumentItem item = documentItem(form, i);
        out += rowStart;
        line(out, codePage, "{\\pard\\intbl\\fs20 ", item.date, "\\cell}");
        line(out, codePage, item.computed ? "{\\pard\\intbl\\fs20\\qr " : "{\\pard\\intbl\\fs20 ",
             item.description, "\\cell}");
        line(out, codePage, "{\\pard\\intbl\\fs20\\qr ", costText(values.printedCosts, i),
             "\\cell}");
        markup(out, "\\row");
        if (!handOnFullPiece(output)) return;
    }
    out += rowStart;
    markup(out, "{\\pard\\intbl \\cell}");
    line(out, codePage, "{\\pard\\intbl\\qr\\b ", values.totalLabel, "\\cell}");
    line(out, codePage, "{\\pard\\intbl\\qr\\b ", Format(values.totalRowAmount), "\\cell}");
    markup(out, "\\row");

    line(out, codePage, "{\\pard\\fs20\\b\\line ", values.closingSentence, "\\par}");
    for (const std::string& terms : values.termsLines)
        line(out, codePage, "{\\pard\\fs20 ", terms, "\\par}");
    markup(out, "{\\pard\\fs20\\b\\line Thank you\\par}");
    markup(out, "\\pard\\fs16\\line\\line");
    for (const std::string& note : values.notesLines) line(out, codePage, "", note, "\\line");
    if (!values.footerLines.empty()) {
        markup(out, "\\par\\pard\\qc\\fs16\\line");
        for (const std::string& footer : values.footerLines)
            line(out, codePage, "", footer, "\\line");
    }
    markup(out, "}");
    handOnRest(output);
}

} // namespace

std::string rtfDocument(const FormDocument& form, const DocumentValues& values,
                        const DocumentSettings& settings) {
    return documentText(form, values, settings, buildRtfDocument, estimatedSize(form));
}

FileReplacement rtfDocumentFile(const FormDocument& form, const DocumentValues& values,
                                const DocumentSettings& settings, const std::string& path,
                                DocumentReport*) {
    return documentFile(form, values, settings, path, buildRtfDocument);
}

} // namespace plaxet
