#include "output/rtf_writer.h"

#include "output/escaping.h"
#include "output/totals.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <algorithm>
#include <string_view>

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
void line(std::string& out, std::string_view before, std::string_view text,
          std::string_view after) {
    out += before;
    appendRtfText(out, text);
    out += after;
    out += kLineEnd;
}

void tableRowStart(std::string& out, std::string_view rowDefinition) {
    markup(out, rowDefinition);
    for (std::string_view position : {"\\cellx1600", "\\cellx7200", "\\cellx9000"}) {
        out += kCellBorders;
        markup(out, position);
    }
}

size_t itemsInUse(const FormDocument& form) {
    if (form.itemCount <= 0) return 0;
    return std::min({static_cast<size_t>(form.itemCount), form.itemDates.size(),
                     form.itemDescriptions.size(), form.itemCosts.size()});
}

size_t estimatedSize(const FormDocument& form, size_t items) {
    size_t size = 2048 + form.notes.size();
    for (size_t i = 0; i < items; ++i)
        size += 420 + form.itemDates[i].size() + form.itemDescriptions[i].size();
    return size;
}

} // namespace

std::string rtfDocument(const FormDocument& form) {
    const size_t items = itemsInUse(form);
    std::string out;
    out.reserve(estimatedSize(form, items));

    markup(out,
           "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}");
    markup(out, "{\\pard \\fs24 \\qc \\b \\sl300\\slmult1");
    for (const std::string& sender : form.senderLines) {
        if (sender.empty()) break;
        line(out, "", sender, "\\line");
    }
    markup(out, "\\par}");

    const auto& addressee = form.addresseeLines;
    markup(out, "{\\pard \\tx7000 \\fs22 \\b");
    appendRtfText(out, addressee[0]);
    line(out, "\\tab {\\fs24", form.headingWord, "\\line}");
    line(out, "", addressee[1], "\\line");
    appendRtfText(out, addressee[2]);
    line(out, "\\tab ", form.longDate, "\\line");
    line(out, "", addressee[3], "\\line");
    markup(out, "\\line \\par}");

    tableRowStart(out, "\\trowd\\trgaph180\\fs22\\b");
    markup(out, "{\\pard\\intbl\\qc\\b Date\\cell}");
    markup(out, "{\\pard\\intbl\\qc\\b Description\\cell}");
    markup(out, "{\\pard\\intbl\\qc\\b Cost\\cell}");
    markup(out, "\\row");

    for (size_t i = 0; i < items; ++i) {
        tableRowStart(out, "\\trowd\\trgaph180");
        line(out, "{\\pard\\intbl\\fs20 ", form.itemDates[i], "\\cell}");
        const std::string description = Trim(form.itemDescriptions[i]);
        const bool computed = rowKindOf(description) != RowKind::Plain;
        line(out, computed ? "{\\pard\\intbl\\fs20\\qr " : "{\\pard\\intbl\\fs20 ", description,
             "\\cell}");
        line(out, "{\\pard\\intbl\\fs20\\qr ", Format(static_cast<double>(Val(form.itemCosts[i]))),
             "\\cell}");
        markup(out, "\\row");
    }
    tableRowStart(out, "\\trowd\\trgaph180");
    markup(out, "{\\pard\\intbl \\cell}");
    line(out, "{\\pard\\intbl\\qr\\b ", form.totalLabel, "\\cell}");
    line(out, "{\\pard\\intbl\\qr\\b ", Format(form.totalRowAmount), "\\cell}");
    markup(out, "\\row");

    line(out, "{\\pard\\fs20\\b\\line ", form.closingSentence, "\\par}");
    markup(out, "{\\pard\\fs20\\b\\line Thank you\\par}");
    markup(out, "\\pard\\fs16\\line\\line");
    for (const std::string& note : form.notesLines) line(out, "", note, "\\line");
    markup(out, "}");
    return out;
}

ReplaceResult writeRtfFile(const FormDocument& form, const std::string& path) {
    return replaceFileContents(path, rtfDocument(form), /*markReadOnly=*/true);
}

} // namespace plaxet
