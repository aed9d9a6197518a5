#pragma once
// The kinds of document Create Files writes beside a form file, as one
// table: Create Files, the window's Show File and Copy File and plaxet-cli
// all read it, so adding a kind means adding its row and its writer.
#include "form/form_document.h"
#include "output/document_output.h"
#include "output/document_settings.h"
#include "output/totals.h"
#include "runtime/file.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// The numbers are the window's record of the chosen kind (1 RTF, 2 HTM).
// Xml is the e-invoice, written only for an invoice that can be one.
enum class DocumentKind : int32_t { Rtf = 1, Html = 2, Pdf = 3, Xml = 4 };

// How Show File opens a document of the kind.
enum class DocumentViewer {
    WordProcessor, // the system's word processor at its fixed path, else the file type's program
    WebBrowser,    // the web browser at its fixed path, else the file type's program
    FileType,      // whatever program the system associates with the file type
};

// A document of a form as a read-only file to put at `path`, written in
// pieces; the form, values, settings and report must outlive the replace.
// What the writing finds for the user goes into `report` (when given).
using DocumentFileMaker = FileReplacement (*)(const FormDocument& form,
                                              const DocumentValues& values,
                                              const DocumentSettings& settings,
                                              const std::string& path, DocumentReport* report);

struct DocumentKindInfo {
    DocumentKind kind;
    std::string_view extension; // "rtf": the last three characters of its path
    std::string_view label;     // "RTF": as the messages name it
    DocumentViewer viewer;
    DocumentFileMaker file;
    // Written only when the values carry the invoice as an e-invoice
    // (DocumentValues::eInvoiceXml); every other kind is always written.
    bool onlyForEInvoice = false;
};

// Every kind, in the order Create Files writes them (the e-invoice last).
extern const std::array<DocumentKindInfo, 4> kDocumentKinds;

const DocumentKindInfo& documentKindInfo(DocumentKind kind);

// The document of a kind beside a form file: the form file's path without
// its last three characters, followed by `extension`.
std::string documentPath(const std::string& formPath, std::string_view extension);
std::string documentPath(const std::string& formPath, DocumentKind kind);

} // namespace plaxet
