#include "form/numbering.h"

#include "form/form_document.h"
#include "form/number_pattern.h"
#include "runtime/file.h"
#include "runtime/machine_lock.h"
#include "runtime/paths.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>

namespace plaxet {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<const char*, 3> kFormTypeKeys = {"invoice", "receipt", "estimate"};
constexpr const char* kCountersKey = "counters";
constexpr const char* kUsedKey = "used";
// Beyond this the counter's digits would no longer fit the number's text.
constexpr int64_t kLargestCounter = 999'999'999'999'999'999;

std::string withoutTag(std::string message) {
    if (const size_t tag = message.find("] "); tag != std::string::npos) message.erase(0, tag + 2);
    return message;
}

std::string damaged(const std::string& path, const std::string& what) {
    return path + " is damaged: " + what +
           ". No number was taken: the counters are never started again from 1 because "
           "they could not be read. Correct or restore the file.";
}

// The record as it stands, checked in full; `error` names the file and the fault.
std::optional<Json> readRecord(const std::string& path, std::string& error) {
    if (!fileExists(path)) return Json::object(); // the first number of this computer
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) {
        error = "cannot read the number counters " + path +
                ". No number was taken: the counters are never started again from 1 because "
                "they could not be read.";
        return std::nullopt;
    }
    Json json;
    try {
        json = Json::parse(*text);
    } catch (const Json::exception& e) {
        error = damaged(path, "it is not valid JSON (" + withoutTag(e.what()) + ")");
        return std::nullopt;
    }
    if (!json.is_object()) {
        error = damaged(path, "it must hold one object in braces");
        return std::nullopt;
    }
    for (const char* part : {kCountersKey, kUsedKey}) {
        if (!json.contains(part)) continue;
        const Json& byType = json[part];
        if (!byType.is_object()) {
            error = damaged(path, std::string("\"") + part + "\" must be an object in braces");
            return std::nullopt;
        }
        for (const auto& [type, entries] : byType.items()) {
            const std::string where = std::string("\"") + part + "\": \"" + type + "\"";
            if (!entries.is_object()) {
                error = damaged(path, where + " must be an object in braces");
                return std::nullopt;
            }
            for (const auto& [key, value] : entries.items()) {
                const bool fits =
                    part == kCountersKey
                        ? value.is_number_unsigned() && value.get<uint64_t>() <= kLargestCounter
                        : value.is_string();
                if (!fits) {
                    error = damaged(path, where + ": \"" + key + "\" must be " +
                                              (part == kCountersKey
                                                   ? "a counter (a whole number, 0 or more)"
                                                   : "the form file that has the number"));
                    return std::nullopt;
                }
            }
        }
    }
    return json;
}

// What a change made of the record.
enum class RecordChange { Refused, Unchanged, Changed };

// Takes the lock beside the record, reads the record and runs `change` on
// it; writes it back when `change` changed it (a number already recorded for
// the same form costs no write).
template <typename Change>
NumberResult underLock(const std::string& numbersPath, int32_t formType, Change change) {
    NumberResult result;
    if (formType < kInvoice || formType > kEstimate) {
        result.error = "only invoices, receipts and estimates are numbered";
        return result;
    }
    const std::string folder = folderPart(numbersPath);
    if (!folder.empty() && !folderExists(folder) && !createFolder(folder)) {
        result.error = "cannot create the folder " + folder + " for the number counters";
        return result;
    }
    MachineLockResult locked = takeMachineLock(folder + "numbers.lock");
    if (!locked.lock) {
        result.error = locked.error;
        return result;
    }
    std::optional<Json> record = readRecord(numbersPath, result.error);
    if (!record) return result;
    const char* type = kFormTypeKeys[static_cast<size_t>(formType - kInvoice)];
    // Every object is in place before references into them are taken: the
    // ordered objects keep their members in a list that an insertion moves.
    for (const char* part : {kCountersKey, kUsedKey}) {
        if (!record->contains(part)) (*record)[part] = Json::object();
        if (!(*record)[part].contains(type)) (*record)[part][type] = Json::object();
    }
    Json& counters = (*record)[kCountersKey][type];
    Json& used = (*record)[kUsedKey][type];
    const RecordChange changed = change(counters, used, result);
    if (changed == RecordChange::Refused) return result;
    if (changed == RecordChange::Unchanged) {
        result.ok = true;
        return result;
    }
    const ReplaceResult written = replaceFileContents(
        numbersPath, record->dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
    if (!written.ok) {
        result = NumberResult();
        result.error = "the number could not be recorded, so none was taken: " + written.error;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace

NumberResult takeNextNumber(const std::string& numbersPath, int32_t formType,
                            std::string_view pattern, CivilDate date, const std::string& formPath) {
    return underLock(numbersPath, formType,
                     [&](Json& counters, Json& used, NumberResult& result) -> RecordChange {
                         const std::string period = seriesPeriod(pattern, date);
                         int64_t counter =
                             counters.contains(period)
                                 ? static_cast<int64_t>(counters[period].get<uint64_t>())
                                 : 0;
                         std::string number;
                         do {
                             if (counter >= kLargestCounter) {
                                 result.error = "the counter of this series has reached its end";
                                 return RecordChange::Refused;
                             }
                             number = formatNumber(pattern, date, ++counter);
                         } while (used.contains(number));
                         counters[period] = counter;
                         used[number] = formPath;
                         result.number = number;
                         return RecordChange::Changed;
                     });
}

NumberResult claimNumber(const std::string& numbersPath, int32_t formType,
                         const std::string& number, const std::string& formPath, bool evenIfUsed) {
    return underLock(
        numbersPath, formType, [&](Json&, Json& used, NumberResult& result) -> RecordChange {
            if (used.contains(number)) {
                const std::string holder = used[number].get<std::string>();
                if (samePathText(holder, formPath)) {
                    result.number = number;
                    return RecordChange::Unchanged;
                }
                if (!evenIfUsed) {
                    result.usedBy = holder;
                    result.error = "the number " + number + " was already given to " + holder;
                    return RecordChange::Refused;
                }
            }
            used[number] = formPath;
            result.number = number;
            return RecordChange::Changed;
        });
}

} // namespace plaxet
