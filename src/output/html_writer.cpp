#include "output/html_writer.h"

#include "output/document_items.h"
#include "output/document_output.h"
#include "output/escaping.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace plaxet {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Appends one line of the page's own markup.
void markup(std::string& out, std::string_view line) {
    out += line;
    out += kLineEnd;
}

// Appends a line of markup around one text from the form.
void line(std::string& out, std::string_view before, std::string_view text,
          std::string_view after) {
    out += before;
    appendHtmlText(out, text);
    out += after;
    out += kLineEnd;
}

// A block's top edge: "top:" then the general number text, which brings its own blank.
void topLine(std::string& out, int32_t pixels) {
    out += "       top: ";
    out += Str(pixels);
    markup(out, "px;");
}

// The payment code as an inline picture: one path of the dark modules, row
// by row, a run of them a rectangle, inside a white quiet zone four modules
// wide, three pixels a module; "Scan to pay" under it.
void paymentCode(std::string& out, const QrCode& code) {
    constexpr int kQuietZone = 4, kPixelsPerModule = 3;
    const std::string side = std::to_string(code.size + 2 * kQuietZone);
    const std::string pixels = std::to_string((code.size + 2 * kQuietZone) * kPixelsPerModule);
    markup(out, "  <p style=\"font-size:12px; font-weight: normal;\">");
    out += "  <svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    out += pixels + "\" height=\"" + pixels + "\" viewBox=\"0 0 " + side + " " + side;
    out += "\" shape-rendering=\"crispEdges\"><rect width=\"100%\" height=\"100%\" "
           "fill=\"white\"/><path d=\"";
    for (const QrRun& run : darkRuns(code)) {
        const std::string length = std::to_string(run.length);
        out += "M" + std::to_string(run.x + kQuietZone) + " " + std::to_string(run.y + kQuietZone) +
               "h" + length + "v1h-" + length + "z";
    }
    markup(out, "\"/></svg><br/>");
    markup(out, "  Scan to pay</p>");
}

size_t estimatedSize(const FormDocument& form) {
    const size_t items = countedItems(form);
    size_t size = 3072 + form.notes.size();
    for (size_t i = 0; i < items; ++i)
        size += 120 + form.items[i].date.size() + form.items[i].description.size();
    return size;
}

// Builds the page into `output`, handing it on in pieces when it has a sink.
void buildHtmlDocument(const FormDocument& form, const DocumentValues& values,
                       const DocumentSettings&, DocumentOutput& output) {
    const size_t items = printedItemCount(form, values);
    // The blocks below the letterhead move down 22 pixels per sender line, and
    // the closing block 27 pixels per table row.
    const auto senderCount = static_cast<int32_t>(std::count_if(
        form.senderLines.begin(), form.senderLines.end(), [](auto& s) { return !s.empty(); }));
    const int32_t addresseeTop = senderCount * 22 + 20;
    const int32_t tableTop = senderCount * 22 + 140;
    const int32_t closingTop = senderCount * 22 + (static_cast<int32_t>(items) + 2) * 27 + 160;

    std::string& out = output.text;

    markup(out, "<!DOCTYPE html>");
    markup(out, "<html>");
    markup(out, "<head>");
    out += "  <title>";
    out += formTypeName(form.formType);
    markup(out, "</title>");
    markup(out, "  <meta name=\"format-detection\" content=\"telephone=no\">");
    markup(out, "  <style type=\"text/css\">");
    markup(out, "    div {");
    markup(out, "       position: absolute;");
    markup(out, "       width: 250px;");
    markup(out, "       height: 100px;");
    markup(out, "       color: black;");
    markup(out, "       background-color: white;");
    markup(out, "       font-weight: bold;");
    markup(out, "       text-align: center;");
    markup(out, "    }");
    markup(out, "     div#d1 {");
    markup(out, "       left: 250px;");
    markup(out, "       top: 0px;");
    markup(out, "       margin-left: 25px;");
    markup(out, "       font-size: 20px;");
    markup(out, "    }");
    markup(out, "     div#d2 {");
    markup(out, "       left: 0px;");
    topLine(out, addresseeTop);
    markup(out, "       text-align: left;");
    markup(out, "       margin-left: 15px;");
    markup(out, "       font-size: 16px;");
    markup(out, "    }");
    markup(out, "     div#d3 {");
    markup(out, "       left: 500px;");
    topLine(out, addresseeTop);
    markup(out, "       text-align: right;");
    markup(out, "       font-size: 20px;");
    markup(out, "    }");
    markup(out, "     div#d4 {");
    markup(out, "       left: 15px;");
    topLine(out, tableTop);
    markup(out, "       width: 750px;");
    markup(out, "    }");
    markup(out, "     table,tr,th,td{");
    markup(out, "       border: 1px solid black;");
    markup(out, "       border-collapse: collapse;");
    markup(out, "       padding: 3px;");
    markup(out, "       height: 20px;");
    markup(out, "    }");
    markup(out, "     td#left{text-align: left;}");
    markup(out, "     td#right{text-align: right;}");
    markup(out, "     tr#total{text-align: right; font-size: 20px}");
    markup(out, "     div#d5 {");
    markup(out, "       left: 15px;");
    topLine(out, closingTop);
    markup(out, "       width: 750px;");
    markup(out, "       text-align: left;");
    markup(out, "       font-size: 15px;");
    markup(out, "     }");
    markup(out, "     h3 {font-size:16px};");
    markup(out, "  </style>");
    markup(out, "</head>");
    markup(out, "<body>");

    // The first senderCount lines, as many as are filled, wherever they stand.
    markup(out, "  <div id=\"d1\">");
    for (int32_t i = 0; i < senderCount; ++i)
        line(out, "    ", form.senderLines[static_cast<size_t>(i)], "<br />");
    markup(out, "  </div>");

    markup(out, "  <div id=\"d2\">");
    line(out, "", form.addresseeLines[0], "<br />");
    line(out, "", form.addresseeLines[1], "<br />");
    line(out, "", form.addresseeLines[2], "<br />");
    line(out, "", form.addresseeLines[3], "");
    for (const std::string& buyer : values.buyerLines)
        line(out, "<br /><span style=\"font-weight: normal;\">", buyer, "</span>");
    markup(out, "  </div>");

    markup(out, "  <div id=\"d3\">");
    line(out, "", values.heading, "<br />");
    if (!values.numberLine.empty())
        line(out, "    <span style=\"font-size: 16px;\">", values.numberLine, "</span><br />");
    line(out, "    <h3>", values.longDate, "");
    if (!values.dueLine.empty()) line(out, "    <br />", values.dueLine, "");
    markup(out, "  </div>");

    markup(out, "  <div id=\"d4\">");
    markup(out, "  <table>");
    markup(out, "    <tr>");
    markup(out, "      <th style=\"width:150px;\">Date</th>");
    markup(out, "      <th style=\"width:475px;\">Description</th>");
    markup(out, "      <th style=\"width:150px;\">Cost</th>");
    markup(out, "    </tr>");
    for (size_t i = 0; i < items; ++i) {
        markup(out, "    <tr>");
        const DocumentItem item = documentItem(form, i);
        line(out, "      <td>", item.date, "</td>");
        line(out, item.computed ? "      <td id=\"right\">" : "      <td id=\"left\">",
             item.description, "</td>");
        line(out, "      <td id=\"right\">", costText(values.printedCosts, i), "</td>");
        markup(out, "    </tr>");
        if (!handOnFullPiece(output)) return;
    }
    markup(out, "    <tr id=\"total\">");
    markup(out, "      <td></td>");
    line(out, "      <td id=\"right\">", values.totalLabel, "</td>");
    line(out, "      <td>", Format(values.totalRowAmount, "  0.00"), "</td>");
    markup(out, "    </tr>");
    markup(out, "  </table>");
    markup(out, "  </div>");

    markup(out, "  <div id=\"d5\">");
    line(out, "  <p>", values.closingSentence, "<br/>");
    for (const std::string& terms : values.termsLines)
        line(out, "     <span style=\"font-weight: normal;\">", terms, "</span><br/>");
    markup(out, "     Thank you</p>");
    markup(out, "  <p style=\"font-size:12px;\">");
    for (const std::string& note : values.notesLines) line(out, "", note, "<br/>");
    markup(out, "  </p>                                 ");
    if (values.paymentCode) paymentCode(out, *values.paymentCode);
    if (!values.footerLines.empty()) {
        markup(out, "  <p style=\"font-size:12px; font-weight: normal; text-align: center;\">");
        for (const std::string& footer : values.footerLines) line(out, "", footer, "<br/>");
        markup(out, "  </p>");
    }
    markup(out, "  </div>");
    markup(out, "</body>");
    markup(out, "</html>");
    handOnRest(output);
}

} // namespace

std::string htmlDocument(const FormDocument& form, const DocumentValues& values) {
    return documentText(form, values, DocumentSettings{}, buildHtmlDocument, estimatedSize(form));
}

FileReplacement htmlDocumentFile(const FormDocument& form, const DocumentValues& values,
                                 const DocumentSettings& settings, const std::string& path,
                                 DocumentReport*) {
    return documentFile(form, values, settings, path, buildHtmlDocument);
}

} // namespace plaxet
