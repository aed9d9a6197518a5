#pragma once
// The e-invoice as the XML of the Cross Industry Invoice (UN/CEFACT D16B),
// the syntax the European e-invoice and its German variant XRechnung 3.0
// are written in.
#include "output/einvoice/einvoice.h"

#include <string>

namespace plaxet {

// The whole XML document in UTF-8: every text escaped, characters XML
// cannot hold left out, amounts with two decimals. An invoice with a buyer
// reference is written as an XRechnung 3.0, any other as EN 16931.
std::string ciiXml(const EInvoice& invoice);

} // namespace plaxet
