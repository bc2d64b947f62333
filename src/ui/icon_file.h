// Reading an icon file (ICO): the header check and the choice of the image to decode.
#pragma once
#include <cstddef>
#include <cstdint>

namespace mz {

// Where the chosen image's data lies in the file, and the sizes the decoder asks for.
struct IconImage {
    std::size_t offset = 0;  // from the start of the file
    std::size_t size = 0;
    int width = 0;  // from the directory entry (0 stands for 256)
    int height = 0;
    int bitCount = 0;
    // The width and full height (colour part and mask) of the image's BITMAPINFOHEADER; 0 when the data
    // does not begin with one (a PNG image, for instance).
    std::int32_t headerWidth = 0;
    std::int32_t headerHeight = 0;
};

// Checks the header (reserved 0, type 1) and picks the image: the first directory entry, unless a later entry
// of the same width and height has a higher bit count (the earliest such on a tie). False when the bytes are
// not an icon file or the chosen entry's data lies outside them.
bool chooseIconImage(const std::uint8_t* data, std::size_t size, IconImage& image);

}  // namespace mz
