// ANSI decoding on Windows: the system's code page through MultiByteToWideChar.
#include <windows.h>

#include "platform/text.h"

namespace mz {

std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t n) {
    if (n == 0) return {};
    int units = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(n), nullptr, 0);
    if (units <= 0) return {};
    std::u16string out(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(n),
                        reinterpret_cast<wchar_t*>(&out[0]), units);
    return out;
}

}  // namespace mz
