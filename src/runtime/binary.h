#pragma once
// Binary layouts read from and appended to memory: the little-endian one
// shared by the form file and the help topic file (integers, fixed texts and
// counted texts), and the big-endian numbers of font files.
#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// A read cursor over bytes. Reading past the end is not an error: the missing
// bytes read as zero and `pastEnd` is set, as the file formats require.
struct ByteReader {
    std::string_view data;
    size_t position = 0;
    bool pastEnd = false;
};

size_t remainingBytes(const ByteReader& in);
// Up to n bytes, as many as remain; sets pastEnd when fewer were there.
std::string readAvailable(ByteReader& in, size_t n);
// Exactly n bytes, the missing ones as NUL bytes.
std::string readPadded(ByteReader& in, size_t n);
uint16_t readUInt16(ByteReader& in);
int32_t readInt32(ByteReader& in);
uint32_t readUInt32(ByteReader& in);

void putUInt16(std::string& out, uint16_t value);
void putInt32(std::string& out, int32_t value);
void putUInt32(std::string& out, uint32_t value);

// One byte, and big-endian numbers, read the same way (missing bytes read as zero).
uint8_t readByte(ByteReader& in);
// Moves past n bytes, as far as there are; sets pastEnd when fewer were there.
void skipBytes(ByteReader& in, size_t n);
uint16_t readBigEndianUInt16(ByteReader& in);
uint32_t readBigEndianUInt32(ByteReader& in);
// The same at a position of `data`, for formats whose parts are found by
// offsets: zero where the number would lie past the end.
uint16_t bigEndianUInt16At(std::string_view data, size_t at);
int16_t bigEndianInt16At(std::string_view data, size_t at);
uint32_t bigEndianUInt32At(std::string_view data, size_t at);

void putBigEndianUInt16(std::string& out, uint16_t value);
void putBigEndianUInt32(std::string& out, uint32_t value);

// A text with a 16-bit length; 65535 bytes or more are marked 0xFFFF and
// followed by a 32-bit length.
void putShortCounted(std::string& out, std::string_view text);
// The length that a short-counted text announces (the bytes are not read).
uint32_t readShortCount(ByteReader& in);

} // namespace plaxet
