#include "runtime/environment.h"

#include <charconv>
#include <cstdlib>

namespace plaxet {

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::optional<int64_t> fixedCreationTime() {
    const std::optional<std::string> epoch = environmentValue("SOURCE_DATE_EPOCH");
    if (!epoch || epoch->empty()) return std::nullopt;
    int64_t seconds = 0;
    const char* end = epoch->data() + epoch->size();
    const auto [stop, error] = std::from_chars(epoch->data(), end, seconds);
    if (error != std::errc() || stop != end) return std::nullopt;
    return seconds;
}

} // namespace plaxet
