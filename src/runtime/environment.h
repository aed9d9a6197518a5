#pragma once
// The few settings the program takes from its environment, read where it
// starts and handed on as values.
#include <cstdint>
#include <optional>
#include <string>

namespace plaxet {

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> environmentValue(const char* name);

// SOURCE_DATE_EPOCH, the time that builds and tests give a program so that
// two runs write the same bytes: seconds since 1970 (UTC), when it is set to
// a whole number.
std::optional<int64_t> fixedCreationTime();

} // namespace plaxet
