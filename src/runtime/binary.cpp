#include "runtime/binary.h"

#include <algorithm>

namespace plaxet {
namespace {

uint32_t readLittleEndian(ByteReader& in, size_t width) {
    const std::string bytes = readPadded(in, width);
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

void putLittleEndian(std::string& out, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

size_t remainingBytes(const ByteReader& in) {
    return in.position < in.data.size() ? in.data.size() - in.position : 0;
}

std::string readAvailable(ByteReader& in, size_t n) {
    const size_t available = std::min(n, remainingBytes(in));
    std::string bytes(in.data.substr(in.position, available));
    in.position += available;
    if (available < n) in.pastEnd = true;
    return bytes;
}

std::string readPadded(ByteReader& in, size_t n) {
    std::string bytes = readAvailable(in, n);
    bytes.resize(n, '\0');
    return bytes;
}

uint16_t readUInt16(ByteReader& in) {
    return static_cast<uint16_t>(readLittleEndian(in, 2));
}
int32_t readInt32(ByteReader& in) {
    return static_cast<int32_t>(readLittleEndian(in, 4));
}
uint32_t readUInt32(ByteReader& in) {
    return readLittleEndian(in, 4);
}

void putUInt16(std::string& out, uint16_t value) {
    putLittleEndian(out, value, 2);
}
void putInt32(std::string& out, int32_t value) {
    putLittleEndian(out, static_cast<uint32_t>(value), 4);
}
void putUInt32(std::string& out, uint32_t value) {
    putLittleEndian(out, value, 4);
}

void putShortCounted(std::string& out, std::string_view text) {
    if (text.size() < 0xFFFF) {
        putUInt16(out, static_cast<uint16_t>(text.size()));
    } else {
        putUInt16(out, 0xFFFF);
        putUInt32(out, static_cast<uint32_t>(text.size()));
    }
    out += text;
}

uint32_t readShortCount(ByteReader& in) {
    const uint16_t shortCount = readUInt16(in);
    return shortCount == 0xFFFF ? readUInt32(in) : shortCount;
}

} // namespace plaxet
