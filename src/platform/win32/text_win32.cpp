// ANSI decoding on Windows: the system's code page through MultiByteToWideChar.
#include <windows.h>

#include "platform/text.h"

namespace mz {

std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t n) {
    if (n == 0) return {};
    const char* in = reinterpret_cast<const char*>(bytes);
    // The ANSI code pages make at most one unit of a byte, so one call into n units is nearly always enough;
    // should it not be, the call that measures first.
    std::u16string out(n, u'\0');
    int units = MultiByteToWideChar(CP_ACP, 0, in, static_cast<int>(n), reinterpret_cast<wchar_t*>(&out[0]),
                                    static_cast<int>(n));
    if (units <= 0) {
        units = MultiByteToWideChar(CP_ACP, 0, in, static_cast<int>(n), nullptr, 0);
        if (units <= 0) return {};
        out.assign(static_cast<std::size_t>(units), u'\0');
        MultiByteToWideChar(CP_ACP, 0, in, static_cast<int>(n), reinterpret_cast<wchar_t*>(&out[0]), units);
    }
    out.resize(static_cast<std::size_t>(units));
    return out;
}

}  // namespace mz
