#include "output/qr_code.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <limits>

namespace plaxet {
namespace {

constexpr int kMinVersion = 1, kMaxVersion = 40;

// Level M's error correction codewords per block and number of blocks, by version.
constexpr std::array<int, 41> kEccPerBlock = {
    0,  10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
    26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28};
constexpr std::array<int, 41> kBlocks = {0,  1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,
                                         9,  10, 10, 11, 13, 14, 16, 17, 17, 18, 20, 21, 23, 25,
                                         26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49};

// Level M's two bits in the format information.
constexpr unsigned kLevelMBits = 0;

// The module grid while it is built: what each module shows, and which
// modules belong to the function patterns (finders, timing, alignment,
// format and version information), which data and masks never touch.
struct Grid {
    int size = 0;
    std::vector<uint8_t> dark;
    std::vector<uint8_t> function;

    explicit Grid(int modules)
        : size(modules), dark(static_cast<size_t>(modules * modules)),
          function(static_cast<size_t>(modules * modules)) {}

    size_t at(int x, int y) const { return static_cast<size_t>(y * size + x); }
    void setFunction(int x, int y, bool isDark) {
        dark[at(x, y)] = isDark ? 1 : 0;
        function[at(x, y)] = 1;
    }
};

int sizeOf(int version) {
    return 4 * version + 17;
}

// The rows and columns on which alignment patterns are centred: 6, the
// last but six, and evenly spaced (by an even step) between them.
std::vector<int> alignmentCentres(int version) {
    if (version == 1) return {};
    const int count = version / 7 + 2;
    const int last = sizeOf(version) - 7;
    // Version 32 is the one whose step the even rounding would make too wide.
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> centres(static_cast<size_t>(count));
    centres[0] = 6;
    for (int i = count - 1, at = last; i >= 1; --i, at -= step)
        centres[static_cast<size_t>(i)] = at;
    return centres;
}

void drawFinder(Grid& grid, int centreX, int centreY) {
    // The 7x7 pattern and its light separator, cut at the symbol's edge.
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const int x = centreX + dx, y = centreY + dy;
            if (x < 0 || y < 0 || x >= grid.size || y >= grid.size) continue;
            const int ring = std::max(std::abs(dx), std::abs(dy));
            grid.setFunction(x, y, ring != 2 && ring != 4);
        }
}

void drawAlignment(Grid& grid, int centreX, int centreY) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            grid.setFunction(centreX + dx, centreY + dy, std::max(std::abs(dx), std::abs(dy)) != 1);
}

// The 15 format bits: the level and mask with their BCH check bits, masked
// so that they are never all light.
unsigned formatBits(int mask) {
    const unsigned data = kLevelMBits << 3 | static_cast<unsigned>(mask);
    unsigned remainder = data;
    for (int i = 0; i < 10; ++i) remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537U);
    return ((data << 10) | (remainder & 0x3FFU)) ^ 0x5412U;
}

// Both copies of the format information, and the dark module beside the lower one.
void drawFormat(Grid& grid, int mask) {
    const unsigned bits = formatBits(mask);
    const auto bit = [bits](int i) { return ((bits >> i) & 1U) != 0; };
    const int size = grid.size;
    for (int i = 0; i <= 5; ++i) grid.setFunction(8, i, bit(i));
    grid.setFunction(8, 7, bit(6));
    grid.setFunction(8, 8, bit(7));
    grid.setFunction(7, 8, bit(8));
    for (int i = 9; i < 15; ++i) grid.setFunction(14 - i, 8, bit(i));
    for (int i = 0; i < 8; ++i) grid.setFunction(size - 1 - i, 8, bit(i));
    for (int i = 8; i < 15; ++i) grid.setFunction(8, size - 15 + i, bit(i));
    grid.setFunction(8, size - 8, true);
}

// The 18 version bits (version 7 and up): six bits of version and their check bits.
void drawVersion(Grid& grid, int version) {
    if (version < 7) return;
    unsigned remainder = static_cast<unsigned>(version);
    for (int i = 0; i < 12; ++i) remainder = (remainder << 1) ^ ((remainder >> 11) * 0x1F25U);
    const unsigned bits = static_cast<unsigned>(version) << 12 | (remainder & 0xFFFU);
    for (int i = 0; i < 18; ++i) {
        const bool isDark = ((bits >> i) & 1U) != 0;
        const int across = grid.size - 11 + i % 3, down = i / 3;
        grid.setFunction(across, down, isDark);
        grid.setFunction(down, across, isDark);
    }
}

Grid functionPatterns(int version) {
    Grid grid(sizeOf(version));
    const int size = grid.size;
    for (int i = 0; i < size; ++i) {
        grid.setFunction(6, i, i % 2 == 0);
        grid.setFunction(i, 6, i % 2 == 0);
    }
    drawFinder(grid, 3, 3);
    drawFinder(grid, size - 4, 3);
    drawFinder(grid, 3, size - 4);
    const std::vector<int> centres = alignmentCentres(version);
    const size_t count = centres.size();
    for (size_t i = 0; i < count; ++i)
        for (size_t j = 0; j < count; ++j) {
            // Not where a finder stands.
            const bool finder =
                (i == 0 && j == 0) || (i == 0 && j == count - 1) || (i == count - 1 && j == 0);
            if (!finder) drawAlignment(grid, centres[i], centres[j]);
        }
    drawFormat(grid, 0); // reserves its modules; drawn again with the chosen mask
    drawVersion(grid, version);
    return grid;
}

// The codewords (data and error correction) a version holds.
int totalCodewords(const Grid& grid) {
    const auto free = std::count(grid.function.begin(), grid.function.end(), uint8_t{0});
    return static_cast<int>(free / 8);
}

int dataCodewords(const Grid& grid, int version) {
    return totalCodewords(grid) -
           kBlocks[static_cast<size_t>(version)] * kEccPerBlock[static_cast<size_t>(version)];
}

int countBits(int version) {
    return version <= 9 ? 8 : 16;
}

// Multiplication in GF(256) with the field's polynomial x^8 + x^4 + x^3 + x^2 + 1.
uint8_t multiply(uint8_t a, uint8_t b) {
    unsigned product = 0;
    for (int i = 7; i >= 0; --i) {
        product = (product << 1) ^ ((product >> 7) * 0x11DU);
        if (((b >> i) & 1U) != 0) product ^= a;
    }
    return static_cast<uint8_t>(product);
}

// The generator polynomial's coefficients after its leading 1, highest
// power first: the product of (x + 2^i) for i below `degree`.
std::vector<uint8_t> generator(int degree) {
    std::vector<uint8_t> poly{1};
    uint8_t root = 1;
    for (int i = 0; i < degree; ++i) {
        std::vector<uint8_t> next(poly.size() + 1);
        next[0] = poly[0];
        for (size_t k = 1; k < poly.size(); ++k) next[k] = poly[k] ^ multiply(root, poly[k - 1]);
        next[poly.size()] = multiply(root, poly.back());
        poly = std::move(next);
        root = multiply(root, 2);
    }
    return {poly.begin() + 1, poly.end()};
}

// The error correction codewords of a block: the remainder of the data
// (times x^degree) divided by the generator.
std::vector<uint8_t> correction(const uint8_t* data, size_t length,
                                const std::vector<uint8_t>& divisor) {
    std::vector<uint8_t> remainder(divisor.size());
    for (size_t i = 0; i < length; ++i) {
        const uint8_t factor = data[i] ^ remainder[0];
        std::rotate(remainder.begin(), remainder.begin() + 1, remainder.end());
        remainder.back() = 0;
        for (size_t j = 0; j < divisor.size(); ++j) remainder[j] ^= multiply(divisor[j], factor);
    }
    return remainder;
}

// Bits appended from the most significant, eight to a byte.
struct BitStream {
    std::vector<uint8_t> bytes;
    size_t count = 0;
};

void putBits(BitStream& stream, unsigned value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (stream.count % 8 == 0) stream.bytes.push_back(0);
        if (((value >> i) & 1U) != 0)
            stream.bytes.back() |= static_cast<uint8_t>(0x80U >> (stream.count % 8));
        ++stream.count;
    }
}

// The data codewords: byte mode, the count, the bytes, the terminator and the padding.
std::vector<uint8_t> dataStream(std::string_view bytes, int version, int capacity) {
    BitStream stream;
    putBits(stream, 0b0100, 4);
    putBits(stream, static_cast<unsigned>(bytes.size()), countBits(version));
    for (const char c : bytes) putBits(stream, static_cast<unsigned char>(c), 8);
    const size_t capacityBits = static_cast<size_t>(capacity) * 8;
    putBits(stream, 0, static_cast<int>(std::min<size_t>(4, capacityBits - stream.count)));
    if (stream.count % 8 != 0) putBits(stream, 0, static_cast<int>(8 - stream.count % 8));
    for (uint8_t pad = 0xEC; stream.bytes.size() < static_cast<size_t>(capacity);
         pad = pad == 0xEC ? 0x11 : 0xEC)
        putBits(stream, pad, 8);
    return std::move(stream.bytes);
}

// The data split into blocks (the later ones one codeword longer where it
// does not divide evenly), each with its error correction, interleaved:
// the blocks' first codewords, then their second, and so on.
std::vector<uint8_t> interleaved(const std::vector<uint8_t>& data, int version, int total) {
    const int blocks = kBlocks[static_cast<size_t>(version)];
    const int ecc = kEccPerBlock[static_cast<size_t>(version)];
    const int shortBlocks = blocks - total % blocks;
    const int shortData = total / blocks - ecc;
    const std::vector<uint8_t> divisor = generator(ecc);
    std::vector<std::vector<uint8_t>> dataBlocks, eccBlocks;
    size_t at = 0;
    for (int b = 0; b < blocks; ++b) {
        const auto length = static_cast<size_t>(shortData + (b < shortBlocks ? 0 : 1));
        dataBlocks.emplace_back(data.begin() + static_cast<ptrdiff_t>(at),
                                data.begin() + static_cast<ptrdiff_t>(at + length));
        eccBlocks.push_back(correction(data.data() + at, length, divisor));
        at += length;
    }
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    for (size_t i = 0; i <= static_cast<size_t>(shortData); ++i)
        for (const auto& block : dataBlocks)
            if (i < block.size()) out.push_back(block[i]);
    for (size_t i = 0; i < static_cast<size_t>(ecc); ++i)
        for (const auto& block : eccBlocks) out.push_back(block[i]);
    return out;
}

// The codewords' bits, most significant first, up and down the column
// pairs from the bottom right, right module before left, passing over the
// vertical timing pattern and every function module. Modules left over
// stay light.
void placeCodewords(Grid& grid, const std::vector<uint8_t>& codewords) {
    const size_t bits = codewords.size() * 8;
    size_t next = 0;
    for (int right = grid.size - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < grid.size; ++step) {
            const int y = upward ? grid.size - 1 - step : step;
            for (int x = right; x >= right - 1; --x) {
                if (grid.function[grid.at(x, y)] != 0) continue;
                if (next < bits)
                    grid.dark[grid.at(x, y)] = (codewords[next / 8] >> (7 - next % 8)) & 1U;
                ++next;
            }
        }
    }
}

bool maskFlips(int mask, int x, int y) {
    switch (mask) {
    case 0:
        return (x + y) % 2 == 0;
    case 1:
        return y % 2 == 0;
    case 2:
        return x % 3 == 0;
    case 3:
        return (x + y) % 3 == 0;
    case 4:
        return (y / 2 + x / 3) % 2 == 0;
    case 5:
        return (x * y) % 2 + (x * y) % 3 == 0;
    case 6:
        return ((x * y) % 2 + (x * y) % 3) % 2 == 0;
    default:
        return ((x + y) % 2 + (x * y) % 3) % 2 == 0;
    }
}

// Masks the data modules; applying it twice takes it off again.
void applyMask(Grid& grid, int mask) {
    for (int y = 0; y < grid.size; ++y)
        for (int x = 0; x < grid.size; ++x)
            if (grid.function[grid.at(x, y)] == 0 && maskFlips(mask, x, y))
                grid.dark[grid.at(x, y)] ^= 1;
}

// The penalty of one row or column: 3 for a run of five modules of one
// colour and 1 for each further module, and 40 for each side of a
// dark-light-dark-light-dark pattern in the ratio 1:1:3:1:1 that has light
// four times its unit wide there (the quiet zone around the symbol counts
// as light), as such a pattern looks like a finder.
// `runs` is room kept from line to line, as a mask is scored by hundreds.
int linePenalty(const std::vector<uint8_t>& line, std::vector<int>& runs) {
    int penalty = 0;
    // The runs of one colour, alternating light and dark, within a light
    // run on either side that stands for the quiet zone.
    const int quiet = 4 * static_cast<int>(line.size());
    runs.assign(1, quiet);
    uint8_t colour = 0;
    int length = 0;
    const auto endRun = [&] {
        if (length >= 5) penalty += 3 + (length - 5);
        if (length > 0) runs.push_back(length);
    };
    for (const uint8_t module : line) {
        if (module != colour) {
            endRun();
            colour = module;
            length = 0;
        }
        ++length;
    }
    endRun();
    if (colour == 0)
        runs.back() += quiet;
    else
        runs.push_back(quiet);
    size_t first = 0;
    if (line.front() == 0) { // the line starts light: one run with the quiet zone
        runs[1] += runs[0];
        first = 1;
    }
    for (size_t i = first + 1; i + 5 < runs.size(); i += 2) { // runs[i] is dark
        const int unit = runs[i];
        if (runs[i + 1] != unit || runs[i + 2] != 3 * unit || runs[i + 3] != unit ||
            runs[i + 4] != unit)
            continue;
        if (runs[i - 1] >= 4 * unit) penalty += 40;
        if (runs[i + 5] >= 4 * unit) penalty += 40;
    }
    return penalty;
}

int penalty(const Grid& grid) {
    const int size = grid.size;
    int total = 0;
    std::vector<uint8_t> line(static_cast<size_t>(size));
    std::vector<int> runs;
    runs.reserve(line.size() + 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) line[static_cast<size_t>(x)] = grid.dark[grid.at(x, y)];
        total += linePenalty(line, runs);
    }
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) line[static_cast<size_t>(y)] = grid.dark[grid.at(x, y)];
        total += linePenalty(line, runs);
    }
    // 3 for every 2x2 block of one colour.
    for (int y = 0; y + 1 < size; ++y)
        for (int x = 0; x + 1 < size; ++x) {
            const uint8_t c = grid.dark[grid.at(x, y)];
            if (c == grid.dark[grid.at(x + 1, y)] && c == grid.dark[grid.at(x, y + 1)] &&
                c == grid.dark[grid.at(x + 1, y + 1)])
                total += 3;
        }
    // 10 for every whole step of 5 % by which the dark share lies beyond 45 to 55 %.
    const long modules = static_cast<long>(size) * size;
    const long darkModules = std::count(grid.dark.begin(), grid.dark.end(), uint8_t{1});
    const long deviation = std::labs(darkModules * 20 - modules * 10); // in fifths of a percent
    const long steps = (deviation + modules - 1) / modules - 1;        // rounded up, less one
    total += 10 * static_cast<int>(std::max(0L, steps));
    return total;
}

} // namespace

std::optional<QrCode> encodeQr(std::string_view bytes, std::optional<int> forcedMask) {
    if (forcedMask && (*forcedMask < 0 || *forcedMask > 7)) return std::nullopt;
    for (int version = kMinVersion; version <= kMaxVersion; ++version) {
        Grid grid = functionPatterns(version);
        const int capacity = dataCodewords(grid, version);
        const size_t bitsNeeded = 4 + static_cast<size_t>(countBits(version)) + bytes.size() * 8;
        if (bitsNeeded > static_cast<size_t>(capacity) * 8) continue;
        placeCodewords(
            grid, interleaved(dataStream(bytes, version, capacity), version, totalCodewords(grid)));
        int chosen = forcedMask.value_or(0);
        if (!forcedMask) {
            int lowest = std::numeric_limits<int>::max();
            for (int mask = 0; mask < 8; ++mask) {
                applyMask(grid, mask);
                drawFormat(grid, mask);
                const int score = penalty(grid);
                if (score < lowest) {
                    lowest = score;
                    chosen = mask;
                }
                applyMask(grid, mask);
            }
        }
        applyMask(grid, chosen);
        drawFormat(grid, chosen);
        QrCode code;
        code.version = version;
        code.mask = chosen;
        code.size = grid.size;
        code.dark = std::move(grid.dark);
        return code;
    }
    return std::nullopt;
}

std::vector<QrRun> darkRuns(const QrCode& code) {
    std::vector<QrRun> runs;
    for (int y = 0; y < code.size; ++y)
        for (int x = 0; x < code.size;) {
            if (!code.isDark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < code.size && code.isDark(x, y)) ++x;
            runs.push_back({start, y, x - start});
        }
    return runs;
}

} // namespace plaxet
