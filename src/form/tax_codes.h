#pragma once
// The codes an invoice carries that the law defines elsewhere: country codes
// (ISO 3166-1 alpha-2), currency codes (ISO 4217) and the international bank
// account number's check digits (ISO 13616).
#include <string>
#include <string_view>

namespace plaxet {

// One of the 249 officially assigned two-letter country codes, in capitals.
bool isCountryCode(std::string_view code);
// What is wrong with a country field: for a text that is set but no country
// code, a sentence quoting it; empty for a code or an empty field. The
// business details and the buyer's details are checked by this one rule.
std::string countryCodeProblem(std::string_view code);

// One of the three-letter codes of a currency in circulation, in capitals
// (no fund, precious-metal or testing codes, none withdrawn).
bool isCurrencyCode(std::string_view code);

// What is wrong with an IBAN, or nothing. Blanks between the groups of four
// are allowed, as the number is often written; letters must be capitals.
// Checked: a country code, two check digits, 11 to 30 letters or digits
// after them, and the check digits themselves (the number read with letters
// as 10..35 and the first four characters moved to the end leaves 1 when
// divided by 97).
std::string ibanProblem(std::string_view iban);

} // namespace plaxet
