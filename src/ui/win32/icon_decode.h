// Turning one icon file held in memory into a Windows icon.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace mz {

// The icon of the file's chosen image at its own size, or nullptr when the bytes cannot be decoded.
// The caller owns the icon (DestroyIcon).
HICON decodeIconFile(const std::uint8_t* data, std::size_t size);

}  // namespace mz
