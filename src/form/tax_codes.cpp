#include "form/tax_codes.h"

#include <algorithm>
#include <array>

namespace plaxet {
namespace {

// Every officially assigned ISO 3166-1 alpha-2 code, in order.
constexpr std::string_view kCountryCodes =
    "AD AE AF AG AI AL AM AO AQ AR AS AT AU AW AX AZ "
    "BA BB BD BE BF BG BH BI BJ BL BM BN BO BQ BR BS BT BV BW BY BZ "
    "CA CC CD CF CG CH CI CK CL CM CN CO CR CU CV CW CX CY CZ "
    "DE DJ DK DM DO DZ "
    "EC EE EG EH ER ES ET "
    "FI FJ FK FM FO FR "
    "GA GB GD GE GF GG GH GI GL GM GN GP GQ GR GS GT GU GW GY "
    "HK HM HN HR HT HU "
    "ID IE IL IM IN IO IQ IR IS IT "
    "JE JM JO JP "
    "KE KG KH KI KM KN KP KR KW KY KZ "
    "LA LB LC LI LK LR LS LT LU LV LY "
    "MA MC MD ME MF MG MH MK ML MM MN MO MP MQ MR MS MT MU MV MW MX MY MZ "
    "NA NC NE NF NG NI NL NO NP NR NU NZ "
    "OM "
    "PA PE PF PG PH PK PL PM PN PR PS PT PW PY "
    "QA "
    "RE RO RS RU RW "
    "SA SB SC SD SE SG SH SI SJ SK SL SM SN SO SR SS ST SV SX SY SZ "
    "TC TD TF TG TH TJ TK TL TM TN TO TR TT TV TW TZ "
    "UA UG UM US UY UZ "
    "VA VC VE VG VI VN VU "
    "WF WS "
    "YE YT "
    "ZA ZM ZW";

// The ISO 4217 codes of the currencies in circulation, in order.
constexpr std::string_view kCurrencyCodes =
    "AED AFN ALL AMD ANG AOA ARS AUD AWG AZN "
    "BAM BBD BDT BGN BHD BIF BMD BND BOB BRL BSD BTN BWP BYN BZD "
    "CAD CDF CHF CLP CNY COP CRC CUP CVE CZK "
    "DJF DKK DOP DZD "
    "EGP ERN ETB EUR "
    "FJD FKP "
    "GBP GEL GHS GIP GMD GNF GTQ GYD "
    "HKD HNL HTG HUF "
    "IDR ILS INR IQD IRR ISK "
    "JMD JOD JPY "
    "KES KGS KHR KMF KPW KRW KWD KYD KZT "
    "LAK LBP LKR LRD LSL LYD "
    "MAD MDL MGA MKD MMK MNT MOP MRU MUR MVR MWK MXN MYR MZN "
    "NAD NGN NIO NOK NPR NZD "
    "OMR "
    "PAB PEN PGK PHP PKR PLN PYG "
    "QAR "
    "RON RSD RUB RWF "
    "SAR SBD SCR SDG SEK SGD SHP SLE SOS SRD SSP STN SVC SYP SZL "
    "THB TJS TMT TND TOP TRY TTD TWD TZS "
    "UAH UGX USD UYU UZS "
    "VES VND VUV "
    "WST "
    "XAF XCD XCG XOF XPF "
    "YER "
    "ZAR ZMW ZWG";

bool isCapitals(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Whether `code` is one of the blank-separated codes of `table`.
bool inTable(std::string_view table, std::string_view code) {
    if (code.empty() || !isCapitals(code)) return false;
    for (size_t at = 0; at < table.size(); at += code.size() + 1)
        if (table.substr(at, code.size()) == code) return true;
    return false;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isCountryCode(std::string_view code) {
    return code.size() == 2 && inTable(kCountryCodes, code);
}

std::string countryCodeProblem(std::string_view code) {
    if (code.empty() || isCountryCode(code)) return {};
    return "\"" + std::string(code) +
           "\" is not a two-letter country code (ISO 3166-1, in capitals)";
}

bool isCurrencyCode(std::string_view code) {
    return code.size() == 3 && inTable(kCurrencyCodes, code);
}

std::string ibanProblem(std::string_view iban) {
    std::string compact;
    for (const char c : iban)
        if (c != ' ') compact += c;
    if (compact.size() < 15 || compact.size() > 34)
        return "an IBAN has 15 to 34 letters and digits, not " + std::to_string(compact.size());
    for (const char c : compact)
        if (!isDigit(c) && !(c >= 'A' && c <= 'Z'))
            return "an IBAN holds only capital letters, digits and blanks";
    if (!isCountryCode(compact.substr(0, 2)))
        return "an IBAN begins with a country code, and \"" + compact.substr(0, 2) + "\" is none";
    if (!isDigit(compact[2]) || !isDigit(compact[3]))
        return "an IBAN's third and fourth characters are its check digits";
    // The remainder, digit by digit, of the number the rearranged text stands for.
    const std::string rearranged = compact.substr(4) + compact.substr(0, 4);
    unsigned remainder = 0;
    for (const char c : rearranged) {
        const unsigned value = isDigit(c) ? unsigned(c - '0') : unsigned(c - 'A' + 10);
        remainder = (remainder * (value >= 10 ? 100 : 10) + value) % 97;
    }
    if (remainder != 1) return "the IBAN's check digits do not match it (a mistyped character?)";
    return {};
}

} // namespace plaxet
