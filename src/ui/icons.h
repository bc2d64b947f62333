// The three built-in icon images (1 red, 2 green, 3 blue) and their decoding.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace mz {

constexpr std::size_t IconFileSize = 5686;
using IconFile = std::array<std::uint8_t, IconFileSize>;

// The stored icon file of image n (1..3).
const IconFile& builtInIconFile(int n);

void loadBuiltInImages();
// Whether image n was decoded (false for numbers other than 1..3).
bool builtInImageLoaded(int n);
void releaseBuiltInImages();

}  // namespace mz
