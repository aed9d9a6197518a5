#pragma once
// A QR code of a run of bytes: byte mode, error correction level M, the
// smallest version (1..40) that holds the bytes, and the mask with the
// lowest penalty unless one is forced. The documents draw it from the module
// grid; the quiet zone around it is the drawer's.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace plaxet {

struct QrCode {
    int version = 0; // 1..40
    int mask = 0;    // 0..7
    int size = 0;    // modules per side: 4 * version + 17
    // One byte per module, row by row from the top left: 1 dark, 0 light.
    std::vector<uint8_t> dark;

    bool isDark(int x, int y) const { return dark[static_cast<size_t>(y * size + x)] != 0; }
};

// A run of dark modules in one row: where it starts and how many it holds.
struct QrRun {
    int x = 0, y = 0, length = 0;
};

// The dark modules as runs, row by row from the top, each row from the
// left: what a drawer fills, one rectangle a run.
std::vector<QrRun> darkRuns(const QrCode& code);

// The code of `bytes`, or none when they are more than version 40 holds at
// level M (2331 bytes) or `forcedMask` is not 0..7.
std::optional<QrCode> encodeQr(std::string_view bytes, std::optional<int> forcedMask = {});

} // namespace plaxet
