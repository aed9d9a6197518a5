#pragma once
// The payment code an invoice prints for a SEPA credit transfer: the text a
// banking app reads from its QR code (the European Payments Council's
// format, version 002), made from the seller's bank details and the invoice.
#include "form/business_details.h"
#include "form/form_document.h"

#include <cstddef>
#include <string>

namespace plaxet {

// The most bytes the text may have, so that every banking app reads it.
constexpr size_t kPaymentCodeMaxBytes = 331;

// The lines BCD, 002, 1 (UTF-8), SCT, the BIC, the beneficiary (the legal
// name, or the letterhead's first line without one, cut to 70 characters),
// the IBAN without blanks, EUR and the amount with two decimals, an empty
// purpose and reference, and the invoice number (cut to 140 characters),
// joined by line feeds. Empty, for no code, unless the form is an invoice,
// the business has an IBAN, its currency is EUR and the amount lies between
// 0.01 and 999999999.99; empty too without a beneficiary's name or when
// the text would exceed the maximum.
std::string paymentCodeText(const BusinessDetails& business, const FormDocument& form,
                            double amount);

} // namespace plaxet
