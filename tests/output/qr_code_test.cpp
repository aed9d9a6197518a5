#include "output/qr_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plaxet {
namespace {

// A grid made by another encoder (qr_reference.py), with the mask it was
// given (-1: its own choice) and the version and mask it used.
struct ReferenceCode {
    const char* payloadHex;
    int forcedMask;
    int version;
    int mask;
    std::vector<std::string> rows; // hexadecimal, four modules a digit, the first the leftmost
};

const ReferenceCode kReferences[] = {
#include "qr_reference.inc"
};

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

bool referenceDark(const std::string& row, int x) {
    const int digit = std::stoi(row.substr(static_cast<size_t>(x / 4), 1), nullptr, 16);
    return ((digit >> (3 - x % 4)) & 1) != 0;
}

std::string counted(size_t length) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) bytes += static_cast<char>((i * 37 + 11) % 256);
    return bytes;
}

} // namespace

// Every module of every reference grid, so that the version, the data and
// error correction codewords, their order, the function patterns, the
// format and version information and the masks all agree; where the
// reference chose the mask, the encoder must choose the same one.
TEST(QrCode, MatchesReferenceGrids) {
    for (const ReferenceCode& reference : kReferences) {
        const std::string payload = fromHex(reference.payloadHex);
        SCOPED_TRACE(std::to_string(payload.size()) + " bytes, mask " +
                     std::to_string(reference.forcedMask));
        const std::optional<int> forced =
            reference.forcedMask < 0 ? std::nullopt : std::optional<int>(reference.forcedMask);
        const std::optional<QrCode> code = encodeQr(payload, forced);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(code->version, reference.version);
        EXPECT_EQ(code->mask, reference.mask);
        ASSERT_EQ(code->size, static_cast<int>(reference.rows.size()));
        ASSERT_EQ(code->dark.size(), reference.rows.size() * reference.rows.size());
        int differing = 0;
        for (int y = 0; y < code->size; ++y)
            for (int x = 0; x < code->size; ++x)
                if (code->isDark(x, y) != referenceDark(reference.rows[static_cast<size_t>(y)], x))
                    ++differing;
        EXPECT_EQ(differing, 0);
    }
}

TEST(QrCode, RefusesWhatNoVersionHolds) {
    EXPECT_EQ(encodeQr(counted(2331))->version, 40);
    EXPECT_FALSE(encodeQr(counted(2332)).has_value());
    EXPECT_FALSE(encodeQr("x", 8).has_value());
    EXPECT_FALSE(encodeQr("x", -1).has_value());
    EXPECT_EQ(encodeQr("")->version, 1);
}

} // namespace plaxet
