// The three built-in icon files byte by byte, and the choice of the image in an icon file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "ui/icon_file.h"
#include "ui/icons.h"

namespace mz {
namespace {

std::uint32_t u16At(const std::uint8_t* p, std::size_t at) {
    return p[at] | (p[at + 1] << 8);
}
std::uint32_t u32At(const std::uint8_t* p, std::size_t at) {
    return u16At(p, at) | (u16At(p, at + 2) << 16);
}

constexpr std::size_t ColourAt = 62, RowBytes = 144, MaskAt = 5390, MaskRowBytes = 8;

bool transparent(const IconFile& f, int x, int bottomUpRow) {
    return (f[MaskAt + bottomUpRow * MaskRowBytes + x / 8] >> (7 - x % 8)) & 1;
}

TEST(BuiltInIconFiles, EveryHeaderField) {
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const std::uint8_t* f = builtInIconFile(n).data();
        EXPECT_EQ(u16At(f, 0), 0u);
        EXPECT_EQ(u16At(f, 2), 1u);
        EXPECT_EQ(u16At(f, 4), 1u);
        EXPECT_EQ(f[6], 47);
        EXPECT_EQ(f[7], 37);
        EXPECT_EQ(f[8], 0);
        EXPECT_EQ(f[9], 0);
        EXPECT_EQ(u16At(f, 10), 1u);
        EXPECT_EQ(u16At(f, 12), 24u);
        EXPECT_EQ(u32At(f, 14), 5664u);
        EXPECT_EQ(u32At(f, 18), 22u);
        // BITMAPINFOHEADER
        EXPECT_EQ(u32At(f, 22), 40u);
        EXPECT_EQ(u32At(f, 26), 47u);
        EXPECT_EQ(u32At(f, 30), 74u);
        EXPECT_EQ(u16At(f, 34), 1u);
        EXPECT_EQ(u16At(f, 36), 24u);
        for (std::size_t at = 38; at < 62; ++at) EXPECT_EQ(f[at], 0) << "header byte " << at;
    }
}

TEST(BuiltInIconFiles, ColoursOnBlackTransparentPixels) {
    struct Case {
        int n;
        std::uint8_t red, green, blue;
    };
    const Case cases[] = {{1, 255, 0, 0}, {2, 0, 147, 0}, {3, 0, 0, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        const IconFile& f = builtInIconFile(c.n);
        int opaque = 0, wrong = 0;
        for (int row = 0; row < 37; ++row) {
            for (int x = 0; x < 47; ++x) {
                const std::uint8_t* px = &f[ColourAt + row * RowBytes + x * 3];
                const bool clear = transparent(f, x, row);
                opaque += !clear;
                const bool ok = clear ? px[0] == 0 && px[1] == 0 && px[2] == 0
                                      : px[0] == c.blue && px[1] == c.green && px[2] == c.red;
                wrong += !ok;
            }
            for (int pad = 141; pad < 144; ++pad) EXPECT_EQ(f[ColourAt + row * RowBytes + pad], 0);
            // Bits 47 to 63 of each mask row are padding and stay 0.
            EXPECT_EQ(f[MaskAt + row * MaskRowBytes + 5] & 0x01, 0);
            EXPECT_EQ(f[MaskAt + row * MaskRowBytes + 6], 0);
            EXPECT_EQ(f[MaskAt + row * MaskRowBytes + 7], 0);
        }
        EXPECT_EQ(opaque, 364);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(BuiltInIconFiles, SameMaskInAllThreeAndTheColourPartsDiffer) {
    const IconFile& red = builtInIconFile(1);
    for (int n = 2; n <= 3; ++n) {
        const IconFile& other = builtInIconFile(n);
        EXPECT_TRUE(std::equal(red.begin() + MaskAt, red.end(), other.begin() + MaskAt)) << n;
        EXPECT_TRUE(std::equal(red.begin(), red.begin() + ColourAt, other.begin())) << n;
        EXPECT_FALSE(std::equal(red.begin() + ColourAt, red.begin() + MaskAt, other.begin() + ColourAt)) << n;
    }
    // Rows are stored bottom first, so the bar under the letters, the widest row, comes early.
    int widestRow = -1, widest = 0;
    for (int row = 0; row < 37; ++row) {
        int opaque = 0;
        for (int x = 0; x < 47; ++x) opaque += !transparent(red, x, row);
        if (opaque > widest) widest = opaque, widestRow = row;
    }
    EXPECT_LT(widestRow, 37 / 2);
}

TEST(BuiltInIconFiles, CommittedProgramIconIsImageOne) {
    std::ifstream in(MZ_SOURCE_DIR "/src/ui/win32/merkzeile.ico", std::ios::binary);
    ASSERT_TRUE(in) << "src/ui/win32/merkzeile.ico missing";
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    const IconFile& red = builtInIconFile(1);
    ASSERT_EQ(bytes.size(), red.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), red.begin()))
        << "regenerate it with scripts/make-icon";
}

TEST(BuiltInIconFiles, EachChoosesItsOneImage) {
    for (int n = 1; n <= 3; ++n) {
        IconImage image;
        ASSERT_TRUE(chooseIconImage(builtInIconFile(n).data(), IconFileSize, image)) << n;
        EXPECT_EQ(image.offset, 22u);
        EXPECT_EQ(image.size, 5664u);
        EXPECT_EQ(image.bitCount, 24);
        EXPECT_EQ(image.headerWidth, 47);
        EXPECT_EQ(image.headerHeight, 74);
    }
    IconImage image;
    EXPECT_FALSE(chooseIconImage(builtInIconFile(0).data(), IconFileSize, image));
    EXPECT_FALSE(chooseIconImage(builtInIconFile(4).data(), IconFileSize, image));
}

struct Entry {
    int width, height, bitCount;
};

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// An icon file whose entry i has 48 + i bytes of data beginning with a bitmap header of its size.
std::vector<std::uint8_t> makeIconFile(const std::vector<Entry>& entries) {
    std::vector<std::uint8_t> b(6 + 16 * entries.size());
    put16(b, 2, 1);
    put16(b, 4, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t dir = 6 + 16 * i, size = 48 + i, offset = b.size();
        b[dir] = static_cast<std::uint8_t>(entries[i].width);
        b[dir + 1] = static_cast<std::uint8_t>(entries[i].height);
        put16(b, dir + 4, 1);
        put16(b, dir + 6, entries[i].bitCount);
        put32(b, dir + 8, static_cast<std::uint32_t>(size));
        put32(b, dir + 12, static_cast<std::uint32_t>(offset));
        b.resize(offset + size);
        put32(b, offset, 40);
        put32(b, offset + 4, entries[i].width);
        put32(b, offset + 8, 2 * entries[i].height);
    }
    return b;
}

TEST(IconFileChoice, FirstEntryUnlessALaterOneOfItsSizeHasMoreBits) {
    struct Case {
        const char* what;
        std::vector<Entry> entries;
        std::size_t chosen;
    };
    const Case cases[] = {
        {"one entry", {{47, 37, 24}}, 0},
        {"highest bit count of the same size", {{32, 32, 4}, {32, 32, 8}, {32, 32, 32}, {32, 32, 24}}, 2},
        {"other sizes take no part", {{32, 32, 8}, {16, 16, 32}, {48, 48, 32}, {32, 32, 4}}, 0},
        {"same width, other height", {{32, 32, 8}, {32, 16, 32}, {16, 32, 32}}, 0},
        {"earlier wins a tie", {{32, 32, 8}, {32, 32, 24}, {32, 32, 24}}, 1},
        {"first wins a tie", {{32, 32, 24}, {32, 32, 24}}, 0},
        {"first keeps more bits", {{32, 32, 32}, {32, 32, 24}}, 0},
        {"a later size only", {{16, 16, 4}, {32, 32, 32}, {16, 16, 8}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::uint8_t> file = makeIconFile(c.entries);
        IconImage image;
        ASSERT_TRUE(chooseIconImage(file.data(), file.size(), image));
        const std::size_t dir = 6 + 16 * c.chosen;
        EXPECT_EQ(image.offset, u32At(file.data(), dir + 12));
        EXPECT_EQ(image.size, 48 + c.chosen);
        EXPECT_EQ(image.bitCount, c.entries[c.chosen].bitCount);
        EXPECT_EQ(image.width, c.entries[c.chosen].width);
        EXPECT_EQ(image.headerWidth, c.entries[c.chosen].width);
        EXPECT_EQ(image.headerHeight, 2 * c.entries[c.chosen].height);
    }
}

TEST(IconFileChoice, RejectsWhatIsNoIconFile) {
    // The first entry is the chosen one: its data are bytes 38 to 85.
    const std::vector<std::uint8_t> good = makeIconFile({{32, 32, 24}, {32, 32, 8}});
    struct Case {
        const char* what;
        std::size_t at;  // byte to change, or the new length when cut
        std::uint8_t value;
        bool cut;
    };
    const Case cases[] = {
        {"reserved word not 0", 0, 1, false},
        {"cursor file (type 2)", 2, 2, false},
        {"type 0", 2, 0, false},
        {"no entries", 4, 0, false},
        {"data offset past the end", 6 + 15, 0x10, false},
        {"data size past the end", 6 + 11, 0x01, false},
        {"header only", 6, 0, true},
        {"directory cut short", 20, 0, true},
        {"chosen image's data cut short", 38 + 40, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bad = good;
        if (c.cut)
            bad.resize(c.at);
        else
            bad[c.at] = c.value;
        IconImage image;
        EXPECT_FALSE(chooseIconImage(bad.data(), bad.size(), image));
    }
    IconImage image;
    EXPECT_FALSE(chooseIconImage(nullptr, 0, image));
    EXPECT_TRUE(chooseIconImage(good.data(), good.size(), image));
}

TEST(IconFileChoice, ImageWithoutBitmapHeaderHasNoHeaderSize) {
    std::vector<std::uint8_t> file = makeIconFile({{0, 0, 32}});
    const std::uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::copy(std::begin(png), std::end(png), file.begin() + 22);
    IconImage image;
    ASSERT_TRUE(chooseIconImage(file.data(), file.size(), image));
    EXPECT_EQ(image.offset, 22u);
    EXPECT_EQ(image.headerWidth, 0);
    EXPECT_EQ(image.headerHeight, 0);
}

}  // namespace
}  // namespace mz
