#pragma once
// Little-endian binary layout shared by the form file and the help topic file:
// integers, fixed texts and counted texts, read from and appended to memory.
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

// A text with a 16-bit length; 65535 bytes or more are marked 0xFFFF and
// followed by a 32-bit length.
void putShortCounted(std::string& out, std::string_view text);
// The length that a short-counted text announces (the bytes are not read).
uint32_t readShortCount(ByteReader& in);

} // namespace plaxet
