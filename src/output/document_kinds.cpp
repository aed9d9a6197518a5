#include "output/document_kinds.h"

#include "output/html_writer.h"
#include "output/pdf/writer.h"
#include "output/rtf_writer.h"
#include "runtime/text.h"

namespace plaxet {

const std::array<DocumentKindInfo, 3> kDocumentKinds = {{
    {DocumentKind::Rtf, "rtf", "RTF", DocumentViewer::WordProcessor, rtfDocumentFile},
    {DocumentKind::Html, "htm", "HTM", DocumentViewer::WebBrowser, htmlDocumentFile},
    {DocumentKind::Pdf, "pdf", "PDF", DocumentViewer::FileType, pdfDocumentFile},
}};

const DocumentKindInfo& documentKindInfo(DocumentKind kind) {
    for (const DocumentKindInfo& info : kDocumentKinds)
        if (info.kind == kind) return info;
    return kDocumentKinds.front();
}

std::string documentPath(const std::string& formPath, std::string_view extension) {
    return Left(formPath, Len(formPath) - 3) + std::string(extension);
}

std::string documentPath(const std::string& formPath, DocumentKind kind) {
    return documentPath(formPath, documentKindInfo(kind).extension);
}

} // namespace plaxet
