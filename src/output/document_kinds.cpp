#include "output/document_kinds.h"

#include "output/html_writer.h"
#include "output/pdf/writer.h"
#include "output/rtf_writer.h"
#include "runtime/text.h"

namespace plaxet {
namespace {

// The e-invoice is found before the documents (the PDF carries it too): its
// file writes out what the values make of it.
FileReplacement eInvoiceFile(const FormDocument&, const DocumentValues& values,
                             const DocumentSettings&, const std::string& path, DocumentReport*) {
    return {path, values.eInvoiceXml, true};
}

} // namespace

const std::array<DocumentKindInfo, 4> kDocumentKinds = {{
    {DocumentKind::Rtf, "rtf", "RTF", DocumentViewer::WordProcessor, rtfDocumentFile},
    {DocumentKind::Html, "htm", "HTM", DocumentViewer::WebBrowser, htmlDocumentFile},
    {DocumentKind::Pdf, "pdf", "PDF", DocumentViewer::FileType, pdfDocumentFile},
    {DocumentKind::Xml, "xml", "XML", DocumentViewer::FileType, eInvoiceFile, true},
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
