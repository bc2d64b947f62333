// Plain computations of the tray icon and its owner-drawn menu: tip clipping, entry sizes, colours, the
// places of image, text and tick, and which entry a typed character chooses.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mz {

// The tray tool tip takes at most this many UTF-16 units (the record has room for more; the rest stays 0).
constexpr std::size_t TrayTipLimit = 63;
std::u16string clipTrayToolTip(const std::u16string& text);

struct Rgb {
    std::uint8_t r, g, b;
};
inline bool operator==(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

struct ItemSize {
    int width, height;
};
// An entry with text measured at (cx, cy); a separator has a fixed size.
ItemSize measureMenuItem(bool separator, int cx, int cy);

constexpr int ImageColumnWidth = 20;
// Column k (0..19) of the image column, shading from white towards the highlight colour.
Rgb imageColumnColour(Rgb highlight, int k);
// The selection fill: halfway between the highlight colour and white.
Rgb halfHighlight(Rgb highlight);

struct Rect {
    int left, top, right, bottom;
};
inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

constexpr int MenuImageSize = 16;
struct Point {
    int x, y;
};
// Top-left corner of the 16 x 16 image in an entry of height h.
Point menuImagePosition(int h);
Rect menuTextRect(int w, int h);
Rect separatorLineRect(int w, int h);

// One vertical stroke of the tick: pixels x, top .. top + length - 1.
struct TickStroke {
    int x, top, length;
};
constexpr int TickStrokeCount = 7;
const std::array<TickStroke, TickStrokeCount>& tickStrokes();

// An entry as seen by keyboard matching: separators are skipped.
struct MenuCharEntry {
    bool separator;
    std::u16string text;
};
// The position of the entry that typing c chooses, or -1 when none does: first an entry with c right after
// its first "&", then the first entry beginning with c; A to Z match either case.
int menuCharPosition(const std::vector<MenuCharEntry>& entries, char16_t c);

}  // namespace mz
