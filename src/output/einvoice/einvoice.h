#pragma once
// The invoice in the terms of the European e-invoice (EN 16931): the parties,
// the lines, the VAT breakdown and the totals, taken from the form, the
// documents' values and the business details. Every amount is the one the
// documents print, in cents, so the e-invoice and the documents agree to the
// cent. A form the e-invoice cannot express gets a sentence saying why.
#include "form/business_details.h"
#include "form/form_document.h"
#include "output/totals.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plaxet {

struct EInvoiceParty {
    std::string name;
    std::string street;
    std::string postcode;
    std::string city;
    std::string country; // ISO 3166-1 two letters
    std::string vatId;
    std::string taxNumber; // the seller's only
    std::string id;        // the seller's identifier, as its buyers know it
    std::string email;     // the electronic address
    // The seller's contact (name, phone, e-mail); empty for the buyer.
    std::string contactName;
    std::string contactPhone;
    std::string contactEmail;
};

// What VAT a line or a breakdown entry is under: "S" standard rated at a
// rate, or "E" exempt with the reason the business gives.
struct EInvoiceVatCategory {
    std::string code;        // "S" or "E"
    std::string ratePercent; // "19", "7.5"; "0" when exempt
};

struct EInvoiceLine {
    int32_t row = 0; // the item's number on the form, the line's identifier
    std::string name;
    int64_t amountCents = 0; // the item's printed cost
    std::string date;        // yyyymmdd, the item's date; empty when it has none
    EInvoiceVatCategory vat;
};

struct EInvoiceVatBreakdown {
    EInvoiceVatCategory vat;
    int64_t basisCents = 0; // the lines this rate taxes
    int64_t taxCents = 0;   // what the documents print for it
    std::string exemptionReason;
};

struct EInvoice {
    // The German public buyers' variant, chosen by a buyer reference.
    bool xrechnung = false;
    std::string number;
    std::string typeCode = "380"; // a commercial invoice
    std::string issueDate;        // yyyymmdd
    std::string dueDate;          // yyyymmdd or empty
    std::string deliveryDate;     // yyyymmdd
    std::string currency;         // ISO 4217
    std::string paymentTerms;
    std::string buyerReference;
    std::string note;
    EInvoiceParty seller;
    EInvoiceParty buyer;
    std::string iban; // with it, payment by SEPA credit transfer
    std::string bic;
    std::vector<EInvoiceLine> lines;
    std::vector<EInvoiceVatBreakdown> vatBreakdown;
    int64_t lineTotalCents = 0;
    int64_t taxTotalCents = 0;
    int64_t grandTotalCents = 0; // also the amount due: nothing is prepaid
};

// The e-invoice of a gathered form, or why there is none.
struct EInvoiceResult {
    std::optional<EInvoice> invoice;
    std::string problem; // a sentence naming what is missing or which row cannot be said
};

// `values` are the documents' values of `form` (documentValues).
EInvoiceResult eInvoiceOf(const FormDocument& form, const DocumentValues& values,
                          const BusinessDetails& business);

// "EN 16931" or "XRechnung 3.0": the standard the e-invoice follows.
std::string eInvoiceStandardName(const EInvoice& invoice);

} // namespace plaxet
