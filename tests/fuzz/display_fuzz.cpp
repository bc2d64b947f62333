// Fuzz target for the display text of a slot: line breaks become one backslash each, a converted text longer
// than 125 units is cut to 125 and "..." (128 in all), a short one is shown whole, and a second pass changes
// nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/slots.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// Every CR LF, found from the left without overlap, replaced by one backslash.
std::u16string converted(const std::u16string& full) {
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t at; (at = full.find(u"\r\n", from)) != std::u16string::npos; from = at + 2)
        out += full.substr(from, at - from) + u'\\';
    return out + full.substr(from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks how the rest becomes text: even, UTF-16 little-endian pairs (any unit at all);
    // odd, one unit per byte from the few that matter here, so that line breaks and cut marks come thick.
    std::u16string full;
    if (data[0] % 2 == 0) {
        for (std::size_t i = 1; i + 1 < size; i += 2) full += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    } else {
        static const char16_t alphabet[] = u"\r\n\\.x\xE9\xD83D\xDE00";
        for (std::size_t i = 1; i < size; ++i) full += alphabet[data[i] % (sizeof alphabet / sizeof *alphabet - 1)];
    }

    const std::u16string display = mz::makeDisplayText(full);
    const std::u16string whole = converted(full);
    check(display.size() <= 128, "at most 128 units");
    if (whole.size() > mz::DisplayLimit) {
        check(display.size() == 128, "a cut text has 128 units");
        check(display == whole.substr(0, 125) + u"...", "cut: the first 125 converted units and three dots");
    } else {
        check(display == whole, "a converted text of at most 125 units is shown whole");
    }
    check(display.find(u"\r\n") == std::u16string::npos, "no CR LF is left");
    check(mz::makeDisplayText(display) == display, "a second pass changes nothing");
    return 0;
}
