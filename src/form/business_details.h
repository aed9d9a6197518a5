#pragma once
// The business details: what the law asks an invoice to say about its
// seller, kept once for the computer beside the sender file in the data
// folder, as UTF-8 JSON (business.json). Every key is optional; keys this
// version does not know are kept when the file is written back.
//   {"name": "Anna Berg Gardening Ltd", "street": "", "postcode": "",
//    "city": "", "country": "DE", "vatId": "", "taxNumber": "",
//    "sellerId": "", "email": "", "phone": "", "contact": "",
//    "iban": "", "bic": "", "currency": "EUR",
//    "vat": "standard" or "exempt", "exemptionReason": "",
//    "paymentDays": 14, "paymentTerms": "",
//    "numbers": {"invoice": "{YYYY}-{####}", "receipt": "", "estimate": ""}}
#include "runtime/file.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

struct BusinessDetails {
    std::string name; // the legal name; the documents use the first letterhead line without it
    std::string street;
    std::string postcode;
    std::string city;
    std::string country; // ISO 3166-1 two letters
    std::string vatId;
    std::string taxNumber;
    std::string sellerId;
    std::string email;
    std::string phone;
    std::string contact;
    std::string iban;
    std::string bic;
    std::string currency;        // ISO 4217; empty: the locale's (the CLI: EUR)
    std::string vat;             // "standard", "exempt" or empty (standard)
    std::string exemptionReason; // the sentence an exempt business prints
    std::optional<int32_t> paymentDays;
    std::string paymentTerms;
    // The number pattern per form type: invoice, receipt, estimate (kInvoice - 1 ...).
    // Empty: that form type is not numbered.
    std::array<std::string, 3> numbers;

    // The file as it was read, so that keys this version does not know
    // are written back as they were.
    std::string readJson;
};

// The number pattern of a form type (1..3); empty for one not numbered.
const std::string& numberPatternFor(const BusinessDetails& details, int32_t formType);

struct BusinessFileResult {
    bool ok = false;
    bool missing = false; // no file at the path (not an error for the window)
    std::string error;    // names the file and what is wrong with it
};

// Reads business.json. A file that cannot be read, is not JSON, or holds a
// key of the wrong kind is refused with a message naming the file, the key
// and what was expected; the record is then left as it was.
BusinessFileResult loadBusinessDetails(const std::string& path, BusinessDetails& details);

// The details' problems, each a sentence naming the key: an IBAN whose
// check digits fail, a country or currency code that does not exist, an
// unknown vat kind, an exempt business without its sentence, negative
// payment days, a number pattern with an unknown placeholder.
std::vector<std::string> businessDetailsProblems(const BusinessDetails& details);

// The payment days as typed in a box: an empty text is none, anything else
// must be digits only (no sign, no blanks) and fit a whole number of days.
// True with `days` set when it is; false, with `days` untouched, when not.
bool readPaymentDays(std::string_view text, std::optional<int32_t>& days);

// Writes business.json through the crash-safe replace, creating its folder
// when missing. Empty keys are left out; keys the file had that this
// version does not know are kept.
ReplaceResult saveBusinessDetails(const BusinessDetails& details, const std::string& path);

// The file names beside the business details.
std::string numbersFileBeside(const std::string& businessPath); // numbers.json

} // namespace plaxet
