#include "runtime/binary.h"

#include <algorithm>

namespace plaxet {
namespace {

enum class ByteOrder { LittleEndian, BigEndian };

// A number of `width` bytes; the missing ones read as zero. Numbers are read
// in place, as fonts are read by many small reads.
uint32_t readNumber(ByteReader& in, size_t width, ByteOrder order) {
    const size_t available = std::min(width, remainingBytes(in));
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        const uint32_t byte =
            i < available ? static_cast<unsigned char>(in.data[in.position + i]) : 0u;
        value |= byte << (8 * (order == ByteOrder::BigEndian ? width - 1 - i : i));
    }
    in.position += available;
    if (available < width) in.pastEnd = true;
    return value;
}

uint32_t readLittleEndian(ByteReader& in, size_t width) {
    return readNumber(in, width, ByteOrder::LittleEndian);
}

void putLittleEndian(std::string& out, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void putBigEndian(std::string& out, uint32_t value, size_t width) {
    for (size_t i = width; i-- > 0;) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

size_t remainingBytes(const ByteReader& in) {
    return in.position < in.data.size() ? in.data.size() - in.position : 0;
}

std::string readAvailable(ByteReader& in, size_t n) {
    const size_t available = std::min(n, remainingBytes(in));
    std::string bytes(available > 0 ? in.data.substr(in.position, available) : std::string_view());
    skipBytes(in, n);
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

uint8_t readByte(ByteReader& in) {
    return static_cast<uint8_t>(readNumber(in, 1, ByteOrder::BigEndian));
}

void skipBytes(ByteReader& in, size_t n) {
    const size_t available = std::min(n, remainingBytes(in));
    in.position += available;
    if (available < n) in.pastEnd = true;
}

uint16_t readBigEndianUInt16(ByteReader& in) {
    return static_cast<uint16_t>(readNumber(in, 2, ByteOrder::BigEndian));
}
uint32_t readBigEndianUInt32(ByteReader& in) {
    return readNumber(in, 4, ByteOrder::BigEndian);
}

uint16_t bigEndianUInt16At(std::string_view data, size_t at) {
    ByteReader in{data, at};
    return readBigEndianUInt16(in);
}
int16_t bigEndianInt16At(std::string_view data, size_t at) {
    return static_cast<int16_t>(bigEndianUInt16At(data, at));
}
uint32_t bigEndianUInt32At(std::string_view data, size_t at) {
    ByteReader in{data, at};
    return readBigEndianUInt32(in);
}

void putBigEndianUInt16(std::string& out, uint16_t value) {
    putBigEndian(out, value, 2);
}
void putBigEndianUInt32(std::string& out, uint32_t value) {
    putBigEndian(out, value, 4);
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
