#pragma once
// Totals and wording for the documents: the item sums (form/item_sums.h) with
// the heading word, totals label, closing sentence and the other values the
// documents print.
#include "form/business_details.h"
#include "form/form_document.h"
#include "form/item_sums.h"
#include "output/document_items.h"
#include "output/qr_code.h"
#include "runtime/file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// Everything the documents show beyond the record's own texts, computed
// together so that no writer can see values of another state of the form.
struct DocumentValues {
    std::string heading;         // "INVOICE", "RECEIPT", "ESTIMATE"
    std::string totalLabel;      // "Total due", "Total paid", "Estimated total"
    std::string closingSentence; // by form type; for a receipt, by what is still owed
    std::string longDate;        // the form date as "March 5, 2024"
    std::vector<std::string> notesLines;
    // What an invoice must say beyond the items, each empty or without lines
    // when the form and the business details do not set it, so that a form
    // without them prints as it always has.
    std::string numberLine; // "Invoice No. 2024-0017"
    std::string dueLine;    // "Due by April 14, 2024"
    std::vector<std::string>
        buyerLines; // under the addressee: "VAT ID: ...", "Your reference: ..."
    std::vector<std::string> termsLines;  // after the closing sentence: payment terms, exemption
    std::vector<std::string> footerLines; // the seller's legal name and address, tax ids, bank
    double totalRowAmount = 0;            // the total, or for a receipt the amount paid
    ItemSums sums;                        // a subtotal row's text is the money text
    ItemCostTexts printedCosts;           // the money text of each item's cost
    // The invoice's data as an e-invoice (Cross Industry Invoice XML), when
    // the form can be said as one: the PDF then carries it as an attachment
    // and is written to the archival standard that attachment needs. Made
    // afresh, in pieces, for each file that takes it.
    ContentProducer eInvoiceXml;
    // The invoice's payment code ("Scan to pay", output/payment_code.h):
    // none unless the seller's bank account takes euros by transfer.
    std::optional<QrCode> paymentCode;
};

// The documents' values of a gathered form (items recounted), with what
// the business details add to them.
DocumentValues documentValues(const FormDocument& form, const BusinessDetails& business = {});

} // namespace plaxet
