#pragma once
// The e-invoice as the XML of the Cross Industry Invoice (UN/CEFACT D16B),
// the syntax the European e-invoice and its German variant XRechnung 3.0
// are written in.
#include "output/einvoice/einvoice.h"
#include "runtime/file.h"

#include <string>

namespace plaxet {

// The XML document in UTF-8: every text escaped, characters XML cannot hold
// left out, amounts with two decimals. An invoice with a buyer reference is
// written as an XRechnung 3.0, any other as EN 16931. It is handed to the
// sink in pieces of about 64 kB, never held whole: a long invoice's runs to
// megabytes, and is written both to its own file and into the PDF.
void writeCiiXml(const EInvoice& invoice, const ContentSink& sink);
// The same document whole.
std::string ciiXml(const EInvoice& invoice);

} // namespace plaxet
