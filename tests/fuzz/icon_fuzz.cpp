// Fuzz target for the choice of the image in an icon file: any bytes are read without stepping outside them,
// a chosen image's data lie inside them, and the choice follows the rule (the first directory entry, unless a
// later present entry of its width and height has more bits; the earliest such on a tie).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/icon_file.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

std::uint64_t little(const std::uint8_t* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that the address sanitizer catches a read one byte past it.
    std::vector<std::uint8_t> bytes(data, data + size);
    const std::uint8_t* file = bytes.empty() ? nullptr : bytes.data();

    mz::IconImage image;
    const bool chosen = mz::chooseIconImage(file, size, image);

    // The rule, worked out on its own: which directory entries lie inside the bytes, and which of them wins.
    const bool header = size >= 6 && little(file, 2) == 0 && little(file + 2, 2) == 1;
    const std::uint64_t count = header ? little(file + 4, 2) : 0;
    const std::uint64_t present = header ? std::min<std::uint64_t>(count, (size - 6) / 16) : 0;
    std::uint64_t best = 0;
    for (std::uint64_t i = 1; i < present; ++i) {
        const std::uint8_t* e = file + 6 + 16 * i;
        const std::uint8_t* b = file + 6 + 16 * best;
        if (e[0] == b[0] && e[1] == b[1] && little(e + 6, 2) > little(b + 6, 2)) best = i;
    }
    bool inside = false;
    std::uint64_t offset = 0, length = 0;
    if (present > 0) {
        const std::uint8_t* e = file + 6 + 16 * best;
        length = little(e + 8, 4);
        offset = little(e + 12, 4);
        inside = length > 0 && offset + length <= size;
    }
    check(chosen == (present > 0 && inside), "chosen exactly when the rule's entry has its data inside");
    if (!chosen) return 0;

    const std::uint8_t* e = file + 6 + 16 * best;
    check(image.offset == offset && image.size == length, "the rule's entry is chosen");
    check(image.size > 0 && image.offset < size && image.size <= size - image.offset, "its data lie inside");
    check(image.width == e[0] && image.height == e[1] && image.bitCount == static_cast<int>(little(e + 6, 2)),
          "the entry's own sizes");
    const std::uint64_t headerSize = length >= 40 ? little(file + offset, 4) : 0;
    if (headerSize == 40 || headerSize == 108 || headerSize == 124) {
        check(image.headerWidth == static_cast<std::int32_t>(little(file + offset + 4, 4)) &&
                  image.headerHeight == static_cast<std::int32_t>(little(file + offset + 8, 4)),
              "the bitmap header's sizes");
    } else {
        check(image.headerWidth == 0 && image.headerHeight == 0, "no bitmap header, no header sizes");
    }
    // The decoder copies exactly the chosen bytes; touch them all, as it does.
    unsigned sum = 0;
    for (std::size_t i = 0; i < image.size; ++i) sum += file[image.offset + i];
    (void)sum;
    return 0;
}
