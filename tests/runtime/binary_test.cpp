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
