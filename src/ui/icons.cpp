// The three built-in icon files, made at compile time from one monogram mask ("KM", for Kelmarin).
#include "ui/icons.h"

namespace mz {

namespace {

constexpr int Width = 47;
constexpr int Height = 37;
constexpr std::size_t ImageOffset = 22;
constexpr std::size_t ImageSize = IconFileSize - ImageOffset;
constexpr std::size_t ColourOffset = ImageOffset + 40;
constexpr std::size_t ColourRowBytes = 144;  // 47 pixels of 3 bytes, padded to a multiple of 4
constexpr std::size_t MaskOffset = ColourOffset + ColourRowBytes * Height;
constexpr std::size_t MaskRowBytes = 8;  // 47 bits, padded to a multiple of 32

static_assert(MaskOffset + MaskRowBytes * Height == IconFileSize);

// '#' is an opaque pixel in the image's colour; '.' is transparent. Top row first.
// clang-format off
constexpr const char* Monogram[Height] = {
    "...............................................",
    "...............................................",
    "...............................................",
    "...............................................",
    "...............................................",
    "...............................................",
    ".......###.........###...###.........###.......",
    ".......###.........###...###.........###.......",
    ".......###.........###...###.........###.......",
    ".......###......###......######...######.......",
    ".......###......###......######...######.......",
    ".......###......###......######...######.......",
    ".......###...###.........###...###...###.......",
    ".......###...###.........###...###...###.......",
    ".......###...###.........###...###...###.......",
    ".......######............###...###...###.......",
    ".......######............###...###...###.......",
    ".......######............###...###...###.......",
    ".......###...###.........###.........###.......",
    ".......###...###.........###.........###.......",
    ".......###...###.........###.........###.......",
    ".......###......###......###.........###.......",
    ".......###......###......###.........###.......",
    ".......###......###......###.........###.......",
    ".......###.........###...###.........###.......",
    ".......###.........###...###.........###.......",
    ".......###.........###...###.........###.......",
    "...............................................",
    "...............................................",
    "....#######################################....",
    ".....#####################################.....",
    "...............................................",
    "...............................................",
    "...............................................",
    "...............................................",
    "...............................................",
    "...............................................",
};
// clang-format on

constexpr int opaquePixels() {
    int n = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) n += Monogram[y][x] == '#';
    return n;
}
static_assert(opaquePixels() == 364);

constexpr void put16(IconFile& f, std::size_t at, unsigned v) {
    f[at] = static_cast<std::uint8_t>(v);
    f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
constexpr void put32(IconFile& f, std::size_t at, std::uint32_t v) {
    put16(f, at, v & 0xFFFF);
    put16(f, at + 2, v >> 16);
}

constexpr IconFile makeIconFile(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    IconFile f{};
    put16(f, 2, 1);  // type: icon
    put16(f, 4, 1);  // one image
    f[6] = Width;
    f[7] = Height;
    put16(f, 10, 1);  // planes
    put16(f, 12, 24);
    put32(f, 14, ImageSize);
    put32(f, 18, ImageOffset);

    put32(f, ImageOffset, 40);
    put32(f, ImageOffset + 4, Width);
    put32(f, ImageOffset + 8, 2 * Height);  // colour part and mask
    put16(f, ImageOffset + 12, 1);
    put16(f, ImageOffset + 14, 24);

    // Both bitmaps are stored bottom row first.
    for (int y = 0; y < Height; ++y) {
        const char* row = Monogram[Height - 1 - y];
        for (int x = 0; x < Width; ++x) {
            const bool opaque = row[x] == '#';
            const std::size_t pixel = ColourOffset + y * ColourRowBytes + x * 3;
            if (opaque) {
                f[pixel] = blue;
                f[pixel + 1] = green;
                f[pixel + 2] = red;
            } else {
                f[MaskOffset + y * MaskRowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return f;
}

constexpr IconFile Files[3] = {
    makeIconFile(255, 0, 0),
    makeIconFile(0, 147, 0),
    makeIconFile(0, 0, 255),
};

}  // namespace

const IconFile& builtInIconFile(int n) {
    static const IconFile none{};
    return n >= 1 && n <= 3 ? Files[n - 1] : none;
}

}  // namespace mz
