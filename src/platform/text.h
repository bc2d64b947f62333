// Conversions between the system's byte encodings and UTF-16.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace mz {

// Decodes bytes in the system ANSI code page (Windows: CP_ACP; elsewhere Windows-1252).
std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t n);

}  // namespace mz
