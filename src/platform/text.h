// Conversions between the system's byte encodings and UTF-16.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace mz {

// Decodes bytes in the system ANSI code page (Windows: CP_ACP; elsewhere Windows-1252).
std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t n);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD, as WideCharToMultiByte does.
std::string utf8FromUtf16(const std::u16string& text);

}  // namespace mz
