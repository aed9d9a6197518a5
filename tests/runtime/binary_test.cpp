#include "runtime/binary.h"

#include <gtest/gtest.h>

namespace plaxet {

TEST(Binary, ReadsPastTheEndAsZeros) {
    const std::string bytes("\x01\x02\x03", 3);
    ByteReader in{bytes};
    EXPECT_EQ(readUInt16(in), 0x0201);
    EXPECT_FALSE(in.pastEnd);
    EXPECT_EQ(readInt32(in), 3);
    EXPECT_TRUE(in.pastEnd);
    EXPECT_EQ(remainingBytes(in), 0u);
    EXPECT_EQ(readPadded(in, 2), std::string(2, '\0'));
    EXPECT_EQ(readAvailable(in, 5), "");

    // Big-endian numbers, as fonts hold them, likewise: by a cursor or at a position.
    ByteReader font{bytes};
    EXPECT_EQ(readBigEndianUInt16(font), 0x0102);
    EXPECT_EQ(readBigEndianUInt32(font), 0x03000000u);
    EXPECT_TRUE(font.pastEnd);
    EXPECT_EQ(bigEndianUInt16At(bytes, 2), 0x0300);
    EXPECT_EQ(bigEndianInt16At("\xFF\xFE", 0), -2);
    EXPECT_EQ(bigEndianUInt32At(bytes, 7), 0u);
    ByteReader bytewise{bytes, 1};
    EXPECT_EQ(readByte(bytewise), 2);
    skipBytes(bytewise, 1);
    EXPECT_FALSE(bytewise.pastEnd);
    skipBytes(bytewise, 1);
    EXPECT_TRUE(bytewise.pastEnd);
    EXPECT_EQ(readAvailable(bytewise, 1), "");
    std::string out;
    putBigEndianUInt16(out, 0x0102);
    putBigEndianUInt32(out, 0x03040506);
    EXPECT_EQ(out, "\x01\x02\x03\x04\x05\x06");
}

TEST(Binary, ShortCountedTextsSwitchToLongLengthsAt65535) {
    std::string out;
    putShortCounted(out, std::string(65534, 'a'));
    EXPECT_EQ(out.substr(0, 2), "\xFE\xFF");
    EXPECT_EQ(out.size(), 2u + 65534u);

    out.clear();
    putShortCounted(out, std::string(65535, 'a'));
    EXPECT_EQ(out.substr(0, 6), std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));
    ByteReader in{out};
    EXPECT_EQ(readShortCount(in), 65535u);
    EXPECT_EQ(readAvailable(in, 65535).size(), 65535u);
    EXPECT_FALSE(in.pastEnd);

    out.clear();
    putInt32(out, -1);
    putUInt16(out, 0xFFFE);
    ByteReader signedIn{out};
    EXPECT_EQ(readInt32(signedIn), -1);
    EXPECT_EQ(readUInt16(signedIn), 0xFFFEu);
}

} // namespace plaxet
