#include "form/business_details.h"

#include "form/data_folder.h"
#include "form/form_document.h"
#include "form/number_pattern.h"
#include "form/tax_codes.h"
#include "runtime/paths.h"

#include <nlohmann/json.hpp>

#include <limits>

namespace plaxet {
namespace {

using Json = nlohmann::ordered_json;

// The text keys, in the order a new file lists them.
struct TextKey {
    const char* key;
    std::string BusinessDetails::*field;
};
constexpr TextKey kTextKeys[] = {
    {"name", &BusinessDetails::name},
    {"street", &BusinessDetails::street},
    {"postcode", &BusinessDetails::postcode},
    {"city", &BusinessDetails::city},
    {"country", &BusinessDetails::country},
    {"vatId", &BusinessDetails::vatId},
    {"taxNumber", &BusinessDetails::taxNumber},
    {"sellerId", &BusinessDetails::sellerId},
    {"email", &BusinessDetails::email},
    {"phone", &BusinessDetails::phone},
    {"contact", &BusinessDetails::contact},
    {"iban", &BusinessDetails::iban},
    {"bic", &BusinessDetails::bic},
    {"currency", &BusinessDetails::currency},
    {"vat", &BusinessDetails::vat},
    {"exemptionReason", &BusinessDetails::exemptionReason},
    {"paymentTerms", &BusinessDetails::paymentTerms},
};
constexpr const char* kNumbersKey = "numbers";
constexpr const char* kPaymentDaysKey = "paymentDays";
constexpr std::array<const char*, 3> kFormTypeKeys = {"invoice", "receipt", "estimate"};

// The library's messages begin with its own tag in brackets.
std::string withoutTag(std::string message) {
    if (const size_t tag = message.find("] "); tag != std::string::npos) message.erase(0, tag + 2);
    return message;
}

// Reads the JSON text; `error` says why it is not JSON.
std::optional<Json> parseJson(const std::string& text, std::string& error) {
    try {
        return Json::parse(text);
    } catch (const Json::exception& e) {
        error = "it is not valid JSON (" + withoutTag(e.what()) + ")";
        return std::nullopt;
    }
}

std::string describedFailure(const std::string& path, const std::string& what) {
    return path + " is damaged: " + what + ". Nothing was changed; correct or restore the file.";
}

std::string textProblem(const char* key) {
    return std::string("\"") + key + "\" must be a text in double quotes";
}

} // namespace

const std::string& numberPatternFor(const BusinessDetails& details, int32_t formType) {
    static const std::string kNone;
    if (formType < kInvoice || formType > kEstimate) return kNone;
    return details.numbers[static_cast<size_t>(formType - kInvoice)];
}

BusinessFileResult loadBusinessDetails(const std::string& path, BusinessDetails& details) {
    BusinessFileResult result;
    if (!fileExists(path)) {
        result.missing = true;
        result.error = "there is no business details file " + path;
        return result;
    }
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) {
        result.error = "cannot read the business details file " + path;
        return result;
    }
    std::string what;
    const std::optional<Json> json = parseJson(*text, what);
    if (json && !json->is_object()) what = "it must hold one object in braces";
    if (!what.empty()) {
        result.error = describedFailure(path, what);
        return result;
    }

    BusinessDetails read;
    for (const TextKey& key : kTextKeys) {
        if (!json->contains(key.key)) continue;
        const Json& value = (*json)[key.key];
        if (!value.is_string()) {
            result.error = describedFailure(path, textProblem(key.key));
            return result;
        }
        read.*key.field = value.get<std::string>();
    }
    if (json->contains(kPaymentDaysKey)) {
        const Json& value = (*json)[kPaymentDaysKey];
        if (!value.is_number_integer() ||
            value.get<int64_t>() > std::numeric_limits<int32_t>::max() ||
            value.get<int64_t>() < std::numeric_limits<int32_t>::min()) {
            result.error = describedFailure(path, std::string("\"") + kPaymentDaysKey +
                                                      "\" must be a whole number of days");
            return result;
        }
        read.paymentDays = static_cast<int32_t>(value.get<int64_t>());
    }
    if (json->contains(kNumbersKey)) {
        const Json& numbers = (*json)[kNumbersKey];
        if (!numbers.is_object()) {
            result.error = describedFailure(
                path, "\"numbers\" must be an object in braces with a pattern per form type");
            return result;
        }
        for (size_t k = 0; k < kFormTypeKeys.size(); ++k) {
            if (!numbers.contains(kFormTypeKeys[k])) continue;
            const Json& value = numbers[kFormTypeKeys[k]];
            if (!value.is_string()) {
                result.error = describedFailure(path, std::string("\"numbers\": ") +
                                                          textProblem(kFormTypeKeys[k]));
                return result;
            }
            read.numbers[k] = value.get<std::string>();
        }
    }
    read.readJson = *text;
    details = std::move(read);
    result.ok = true;
    return result;
}

std::vector<std::string> businessDetailsProblems(const BusinessDetails& details) {
    std::vector<std::string> problems;
    if (const std::string problem = countryCodeProblem(details.country); !problem.empty())
        problems.push_back("\"country\": " + problem);
    if (!details.currency.empty() && !isCurrencyCode(details.currency))
        problems.push_back("\"currency\": \"" + details.currency +
                           "\" is not a currency code (ISO 4217, three capitals)");
    if (!details.iban.empty())
        if (const std::string problem = ibanProblem(details.iban); !problem.empty())
            problems.push_back("\"iban\": " + problem);
    if (!details.vat.empty() && details.vat != "standard" && details.vat != "exempt")
        problems.push_back("\"vat\": \"" + details.vat + "\" must be \"standard\" or \"exempt\"");
    if (details.vat == "exempt" && details.exemptionReason.empty())
        problems.push_back("\"exemptionReason\": an exempt business must print why it charges "
                           "no VAT");
    if (details.paymentDays && *details.paymentDays < 0)
        problems.push_back("\"paymentDays\": the days to pay cannot be negative");
    for (size_t k = 0; k < details.numbers.size(); ++k)
        if (!details.numbers[k].empty())
            if (const std::string problem = patternProblem(details.numbers[k]); !problem.empty())
                problems.push_back(std::string("\"numbers\": \"") + kFormTypeKeys[k] +
                                   "\": " + problem);
    return problems;
}

bool readPaymentDays(std::string_view text, std::optional<int32_t>& days) {
    if (text.empty()) {
        days.reset();
        return true;
    }
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max()) return false;
    }
    days = static_cast<int32_t>(value);
    return true;
}

ReplaceResult saveBusinessDetails(const BusinessDetails& details, const std::string& path) {
    if (const std::optional<std::string> refusal = dataFileRefusal(path)) return {false, *refusal};

    // The keys this version does not know come from the file as it was read.
    std::string ignored;
    Json json = Json::object();
    if (!details.readJson.empty())
        if (std::optional<Json> read = parseJson(details.readJson, ignored);
            read && read->is_object())
            json = std::move(*read);
    const auto put = [](Json& object, const char* key, const std::string& value) {
        if (value.empty())
            object.erase(key);
        else
            object[key] = value;
    };
    for (const TextKey& key : kTextKeys) put(json, key.key, details.*key.field);
    if (details.paymentDays)
        json[kPaymentDaysKey] = *details.paymentDays;
    else
        json.erase(kPaymentDaysKey);
    Json numbers = json.contains(kNumbersKey) && json[kNumbersKey].is_object() ? json[kNumbersKey]
                                                                               : Json::object();
    for (size_t k = 0; k < kFormTypeKeys.size(); ++k)
        put(numbers, kFormTypeKeys[k], details.numbers[k]);
    if (numbers.empty())
        json.erase(kNumbersKey);
    else
        json[kNumbersKey] = std::move(numbers);
    return replaceFileContents(path,
                               json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
}

std::string numbersFileBeside(const std::string& businessPath) {
    return folderPart(businessPath) + "numbers.json";
}

} // namespace plaxet
