#include "output/payment_code.h"

#include "runtime/numbers.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace plaxet {
namespace {

// A field on one line: trimmed, a control character (a line break would
// start the next field) shown as a blank, and at most `characters` long.
std::string field(std::string_view text, size_t characters) {
    std::string line(TrimView(text));
    std::replace_if(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    size_t at = 0;
    for (size_t count = 0; at < line.size() && count < characters; ++count) nextCodePoint(line, at);
    line.resize(at);
    return std::string(TrimView(line));
}

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (std::isspace(static_cast<unsigned char>(c)) == 0) out += c;
    return out;
}

// The amount as EUR wants it, "123.45"; empty outside 0.01 to 999999999.99.
std::string amountText(double amount) {
    if (!(amount > 0) || amount >= 1e10) return {};
    const std::string text = Format(amount);
    const size_t point = text.find('.');
    if (point == std::string::npos || point > 9 || text == "0.00") return {};
    return text;
}

} // namespace

std::string paymentCodeText(const BusinessDetails& business, const FormDocument& form,
                            double amount) {
    const std::string iban = withoutBlanks(business.iban);
    const std::string euros = amountText(amount);
    if (form.formType != kInvoice || iban.empty() || business.currency != "EUR" || euros.empty())
        return {};
    const std::string name = field(business.name.empty() ? form.senderLines[0] : business.name, 70);
    if (name.empty()) return {}; // a transfer needs the beneficiary's name
    const std::string lines[] = {
        "BCD", "002",         "1", "SCT", withoutBlanks(business.bic), name,
        iban,  "EUR" + euros, "",  "",    field(form.number, 140)};
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text.size() <= kPaymentCodeMaxBytes ? text : std::string();
}

} // namespace plaxet
