#include "output/document_output.h"

#include <algorithm>
#include <utility>

namespace plaxet {
namespace {

// Small enough to stay in the processor's cache between being built and being
// written, large enough that the writes cost little.
constexpr size_t kPieceSize = 128 * 1024;
// A row rarely overshoots a piece by more than this.
constexpr size_t kPieceRoom = kPieceSize + 16 * 1024;

void handOn(DocumentOutput& output) {
    if (!output.refused && !output.text.empty()) output.refused = !(*output.sink)(output.text);
    output.text.clear(); // keeps its room for the next piece
}

} // namespace

DocumentOutput wholeDocument(size_t expectedSize) {
    DocumentOutput output;
    output.text.reserve(expectedSize);
    return output;
}

DocumentOutput documentInPieces(const ContentSink& sink) {
    DocumentOutput output;
    output.sink = &sink;
    output.text.reserve(kPieceRoom);
    return output;
}

bool handOnFullPiece(DocumentOutput& output) {
    if (output.sink && output.text.size() >= kPieceSize) handOn(output);
    return !output.refused;
}

void handOnRest(DocumentOutput& output) {
    if (output.sink) handOn(output);
}

size_t printedItemCount(const FormDocument& form, const DocumentValues& values) {
    return std::min(countedItems(form), values.printedCosts.ends.size());
}

std::string documentText(const FormDocument& form, const DocumentValues& values,
                         const DocumentSettings& settings, DocumentBuilder build,
                         size_t expectedSize) {
    DocumentOutput output = wholeDocument(expectedSize);
    build(form, values, settings, output);
    return std::move(output.text);
}

FileReplacement documentFile(const FormDocument& form, const DocumentValues& values,
                             const DocumentSettings& settings, const std::string& path,
                             DocumentBuilder build) {
    return {path,
            [&form, &values, &settings, build](const ContentSink& sink) {
                DocumentOutput output = documentInPieces(sink);
                build(form, values, settings, output);
            },
            /*markReadOnly=*/true};
}

} // namespace plaxet
