#pragma once
// CRC-32 (the common one: reflected polynomial 0xEDB88320, initial and final
// value 0xFFFFFFFF), for checks stored in files.
#include <cstdint>
#include <string_view>

namespace plaxet {

uint32_t crc32(std::string_view bytes);

} // namespace plaxet
