#include "cli/form_json.h"

#include "runtime/codepage.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>

namespace plaxet::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<const char*, 4> kTypeNames = {"none", "invoice", "receipt", "estimate"};
constexpr std::array<const char*, 4> kAddresseeKeys = {"name", "address", "city", "phone"};

// The fields kept beside the classic ones, by their JSON keys.
struct ExtraKey {
    const char* key;
    std::string FormDocument::*field;
};
constexpr ExtraKey kExtraKeys[] = {
    {"number", &FormDocument::number},
    {"dueDate", &FormDocument::dueDate},
    {"deliveryDate", &FormDocument::deliveryDate},
};
struct BuyerKey {
    const char* key;
    std::string Buyer::*field;
};
constexpr BuyerKey kBuyerKeys[] = {
    {"country", &Buyer::country}, {"postcode", &Buyer::postcode}, {"city", &Buyer::city},
    {"street", &Buyer::street},   {"vatId", &Buyer::vatId},       {"reference", &Buyer::reference},
    {"email", &Buyer::email},
};

// Reads the JSON fields into the form, stopping at the first problem.
struct Reader {
    std::string error;

    bool fail(std::string message) {
        error = std::move(message);
        return false;
    }

    bool text(const Json& value, const std::string& where, std::string& out) {
        if (!value.is_string()) return fail(where + " must be a text in double quotes");
        // The parser takes in only well-formed UTF-8, which is the program's own text.
        out = value.get_ref<const std::string&>();
        return true;
    }

    bool knownKeys(const Json& object, const std::string& where,
                   std::initializer_list<const char*> keys) {
        if (!object.is_object()) return fail(where + " must be an object in braces");
        for (const auto& [key, value] : object.items()) {
            bool known = false;
            for (const char* k : keys) known = known || key == k;
            if (!known) return fail(where + " has an unknown field \"" + key + "\"");
        }
        return true;
    }

    bool date(const Json& value, FormDocument& form) {
        std::string date;
        if (!text(value, "date", date)) return false;
        if (toCodePage(date).bytes.size() > kFormDateLength)
            return fail("date must be at most " + std::to_string(kFormDateLength) +
                        " characters long");
        setFormDate(form, date);
        return true;
    }

    bool type(const Json& value, FormDocument& form) {
        if (value.is_number_integer()) {
            const auto number = value.get<int64_t>();
            if (number < INT32_MIN || number > INT32_MAX) return fail("type is out of range");
            form.formType = static_cast<int32_t>(number);
            return true;
        }
        if (value.is_string())
            for (size_t k = 0; k < kTypeNames.size(); ++k)
                if (value.get_ref<const std::string&>() == kTypeNames[k]) {
                    form.formType = static_cast<int32_t>(k);
                    return true;
                }
        return fail("type must be \"none\", \"invoice\", \"receipt\", \"estimate\" or a number");
    }

    bool addressee(const Json& value, FormDocument& form) {
        if (!knownKeys(value, "addressee", {"name", "address", "city", "phone"})) return false;
        for (size_t k = 0; k < kAddresseeKeys.size(); ++k) {
            form.addresseeLines[k].clear();
            if (value.contains(kAddresseeKeys[k]) &&
                !text(value[kAddresseeKeys[k]], std::string("addressee ") + kAddresseeKeys[k],
                      form.addresseeLines[k]))
                return false;
        }
        return true;
    }

    bool items(const Json& value, FormDocument& form) {
        if (!value.is_array()) return fail("items must be a list in brackets");
        form.itemCount = static_cast<int32_t>(value.size());
        form.items.assign(value.size(), Item());
        int32_t number = 0;
        for (const Json& item : value) {
            Item& read = form.items[static_cast<size_t>(number++)];
            const std::string where = "item " + std::to_string(number);
            if (!knownKeys(item, where, {"date", "description", "cost"})) return false;
            std::array<std::string*, 3> columns = {&read.date, &read.description, &read.cost};
            constexpr std::array<const char*, 3> kColumns = {"date", "description", "cost"};
            for (size_t c = 0; c < columns.size(); ++c) {
                columns[c]->clear();
                if (item.contains(kColumns[c]) &&
                    !text(item[kColumns[c]], "the " + std::string(kColumns[c]) + " of " + where,
                          *columns[c]))
                    return false;
            }
        }
        return true;
    }

    bool buyer(const Json& value, FormDocument& form) {
        if (!knownKeys(value, "buyer",
                       {"country", "postcode", "city", "street", "vatId", "reference", "email"}))
            return false;
        form.buyer = Buyer();
        for (const BuyerKey& key : kBuyerKeys)
            if (value.contains(key.key) &&
                !text(value[key.key], std::string("buyer ") + key.key, form.buyer.*key.field))
                return false;
        return true;
    }

    bool notes(const Json& value, FormDocument& form) {
        if (!value.is_array()) return text(value, "notes", form.notes);
        form.notes.clear();
        int32_t number = 0;
        for (const Json& line : value) {
            std::string ansi;
            if (!text(line, "notes line " + std::to_string(++number), ansi)) return false;
            if (number > 1) form.notes += "\r\n";
            form.notes += ansi;
        }
        return true;
    }
};

} // namespace

std::string formToJson(const FormDocument& form) {
    Json json;
    std::string date = form.formDate;
    while (!date.empty() && date.back() == ' ') date.pop_back();
    json["date"] = date;
    if (form.formType >= 0 && form.formType < static_cast<int32_t>(kTypeNames.size()))
        json["type"] = kTypeNames[static_cast<size_t>(form.formType)];
    else
        json["type"] = form.formType;
    Json addressee = Json::object();
    for (size_t k = 0; k < kAddresseeKeys.size(); ++k)
        addressee[kAddresseeKeys[k]] = form.addresseeLines[k];
    json["addressee"] = std::move(addressee);
    Json items = Json::array();
    for (size_t i = 0; i < countedItems(form); ++i)
        items.push_back({{"date", form.items[i].date},
                         {"description", form.items[i].description},
                         {"cost", form.items[i].cost}});
    json["items"] = std::move(items);
    json["notes"] = form.notes;
    // The newer fields only where set, so a form without them reads as ever.
    for (const ExtraKey& key : kExtraKeys)
        if (!(form.*key.field).empty()) json[key.key] = form.*key.field;
    if (form.buyer != Buyer()) {
        Json buyer = Json::object();
        for (const BuyerKey& key : kBuyerKeys)
            if (!(form.buyer.*key.field).empty()) buyer[key.key] = form.buyer.*key.field;
        json["buyer"] = std::move(buyer);
    }
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool formFromJson(const std::string& text, FormDocument& form, std::string& error) {
    Json json;
    // The library's messages begin with its own tag in brackets.
    const auto withoutTag = [](std::string message) {
        if (const size_t tag = message.find("] "); tag != std::string::npos)
            message.erase(0, tag + 2);
        return message;
    };
    try {
        json = Json::parse(text);
    } catch (const Json::parse_error& e) {
        error = "not valid JSON: " + withoutTag(e.what());
        return false;
    } catch (const Json::exception& e) {
        // Well-formed, but beyond what the library can hold (a number past
        // the range of every number type, for one).
        error = "cannot read the JSON: " + withoutTag(e.what());
        return false;
    }
    Reader reader;
    bool ok = reader.knownKeys(json, "the form",
                               {"date", "type", "addressee", "items", "notes", "number", "dueDate",
                                "deliveryDate", "buyer"}) &&
              (!json.contains("date") || reader.date(json["date"], form)) &&
              (!json.contains("type") || reader.type(json["type"], form)) &&
              (!json.contains("addressee") || reader.addressee(json["addressee"], form)) &&
              (!json.contains("items") || reader.items(json["items"], form)) &&
              (!json.contains("notes") || reader.notes(json["notes"], form)) &&
              (!json.contains("buyer") || reader.buyer(json["buyer"], form));
    for (const ExtraKey& key : kExtraKeys)
        if (ok && json.contains(key.key) && !reader.text(json[key.key], key.key, form.*key.field))
            ok = false;
    if (!ok) error = reader.error;
    return ok;
}

} // namespace plaxet::cli
