// Reading an icon file (ICO): the header check and the choice of the image to decode.
#include "ui/icon_file.h"

namespace mz {

namespace {

constexpr std::size_t HeaderSize = 6;
constexpr std::size_t EntrySize = 16;
constexpr std::size_t BitmapHeaderSize = 40;

std::uint32_t word(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t dword(const std::uint8_t* p) {
    return word(p) | (word(p + 2) << 16);
}

}  // namespace

bool chooseIconImage(const std::uint8_t* data, std::size_t size, IconImage& image) {
    if (!data || size < HeaderSize || word(data) != 0 || word(data + 2) != 1) return false;
    const std::size_t count = word(data + 4);
    if (count == 0 || size < HeaderSize + EntrySize) return false;
    // Entries beyond the end of the bytes are not looked at.
    const std::size_t present =
        (size - HeaderSize) / EntrySize < count ? (size - HeaderSize) / EntrySize : count;

    const std::uint8_t* chosen = data + HeaderSize;
    for (std::size_t i = 1; i < present; ++i) {
        const std::uint8_t* entry = data + HeaderSize + i * EntrySize;
        if (entry[0] == chosen[0] && entry[1] == chosen[1] && word(entry + 6) > word(chosen + 6))
            chosen = entry;
    }

    const std::size_t bytes = dword(chosen + 8);
    const std::size_t offset = dword(chosen + 12);
    if (bytes == 0 || offset > size || bytes > size - offset) return false;

    image = IconImage{};
    image.offset = offset;
    image.size = bytes;
    image.width = chosen[0];
    image.height = chosen[1];
    image.bitCount = static_cast<int>(word(chosen + 6));
    const std::uint8_t* bih = data + offset;
    const std::uint32_t headerSize = bytes >= BitmapHeaderSize ? dword(bih) : 0;
    // BITMAPINFOHEADER, BITMAPV4HEADER or BITMAPV5HEADER; anything else (a PNG signature) is not one.
    if (headerSize == BitmapHeaderSize || headerSize == 108 || headerSize == 124) {
        image.headerWidth = static_cast<std::int32_t>(dword(bih + 4));
        image.headerHeight = static_cast<std::int32_t>(dword(bih + 8));
    }
    return true;
}

}  // namespace mz
