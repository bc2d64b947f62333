// ANSI decoding for the native build: Windows-1252, the code page of a default Western Windows.
#include "platform/text.h"

namespace mz {

// 0x80..0x9F; the five unassigned bytes map to the C1 controls, as MultiByteToWideChar does.
static const char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t n) {
    std::u16string out(n, u'\0');
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t b = bytes[i];
        out[i] = (b >= 0x80 && b < 0xA0) ? cp1252High[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

}  // namespace mz
