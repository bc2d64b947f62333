// Plain computations of the tray icon and its owner-drawn menu.
#include "ui/menu_draw.h"

namespace mz {

std::u16string clipTrayToolTip(const std::u16string& text) {
    return text.substr(0, TrayTipLimit);
}

ItemSize measureMenuItem(bool separator, int cx, int cy) {
    if (separator) return {50, 9};
    return {cx + 28, cy + 6};
}

namespace {

// 255 - (255 - v) * 5k / 100, the whole value truncated: for a non-negative value that is 255 minus the
// shade rounded up, which integer arithmetic gives exactly.
std::uint8_t shade(std::uint8_t v, int k) {
    const int amount = (255 - v) * 5 * k;
    return static_cast<std::uint8_t>(255 - (amount + 99) / 100);
}

std::uint8_t halfway(std::uint8_t v) {
    return static_cast<std::uint8_t>(v + (255 - v) / 2);
}

char16_t upperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

Rgb imageColumnColour(Rgb highlight, int k) {
    return {shade(highlight.r, k), shade(highlight.g, k), shade(highlight.b, k)};
}

Rgb halfHighlight(Rgb highlight) {
    return {halfway(highlight.r), halfway(highlight.g), halfway(highlight.b)};
}

Point menuImagePosition(int h) {
    return {2, (h - MenuImageSize) / 2 + 1};
}

Rect menuTextRect(int w, int h) {
    return {28, 0, w - 8, h};
}

Rect separatorLineRect(int w, int h) {
    return {24, 4, w, h - 4};
}

const std::array<TickStroke, TickStrokeCount>& tickStrokes() {
    static const std::array<TickStroke, TickStrokeCount> strokes = {
        {{7, 9, 3}, {8, 10, 3}, {9, 11, 3}, {10, 10, 3}, {11, 9, 3}, {12, 8, 3}, {13, 7, 3}}};
    return strokes;
}

int menuCharPosition(const std::vector<MenuCharEntry>& entries, char16_t c) {
    const char16_t wanted = upperAscii(c);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separator) continue;
        const std::u16string& text = entries[i].text;
        const std::size_t amp = text.find(u'&');
        if (amp != std::u16string::npos && amp + 1 < text.size() && upperAscii(text[amp + 1]) == wanted)
            return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separator) continue;
        const std::u16string& text = entries[i].text;
        if (!text.empty() && upperAscii(text[0]) == wanted) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace mz
