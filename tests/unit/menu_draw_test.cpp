// The tray's plain computations: tip clipping, entry sizes, colours, positions, the tick, keyboard matching.
#include <gtest/gtest.h>

#include "ui/menu_draw.h"

namespace mz {
namespace {

TEST(TrayTip, ClippedAfterSixtyThreeUnits) {
    EXPECT_EQ(clipTrayToolTip(u"Merkzeile V1.3"), u"Merkzeile V1.3");
    EXPECT_EQ(clipTrayToolTip(std::u16string(63, u'x')), std::u16string(63, u'x'));
    EXPECT_EQ(clipTrayToolTip(std::u16string(62, u'x') + u"\u00e4\u00f6z"),
              std::u16string(62, u'x') + u"\u00e4");
    EXPECT_EQ(clipTrayToolTip(u""), u"");
}

TEST(MenuMeasure, TextEntriesAndSeparators) {
    struct Case {
        bool separator;
        int cx, cy, width, height;
    };
    const Case cases[] = {
        {false, 200, 13, 228, 19}, {false, 0, 0, 28, 6}, {true, 200, 13, 50, 9}, {true, 0, 0, 50, 9}};
    for (const Case& c : cases) {
        const ItemSize s = measureMenuItem(c.separator, c.cx, c.cy);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
    }
}

// 255 - (255 - v) * 5k / 100 with the whole value truncated: 255 - 12.75 gives 242, not 243.
TEST(MenuColours, ImageColumnGradient) {
    struct Case {
        Rgb highlight;
        int k;
        Rgb colour;
    };
    const Case cases[] = {
        {{0, 120, 215}, 0, {255, 255, 255}}, {{0, 120, 215}, 1, {242, 248, 253}},
        {{0, 120, 215}, 4, {204, 228, 247}}, {{0, 120, 215}, 19, {12, 126, 217}},
        {{10, 36, 106}, 1, {242, 244, 247}}, {{10, 36, 106}, 10, {132, 145, 180}},
        {{10, 36, 106}, 19, {22, 46, 113}},  {{255, 255, 255}, 19, {255, 255, 255}},
        {{0, 0, 0}, 20, {0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(imageColumnColour(c.highlight, c.k), c.colour) << c.k;
}

TEST(MenuColours, HalfHighlightTruncates) {
    struct Case {
        Rgb highlight, half;
    };
    const Case cases[] = {{{0, 120, 215}, {127, 187, 235}},
                          {{10, 36, 106}, {132, 145, 180}},
                          {{255, 255, 255}, {255, 255, 255}},
                          {{0, 1, 254}, {127, 128, 254}}};
    for (const Case& c : cases) EXPECT_EQ(halfHighlight(c.highlight), c.half);
}

TEST(MenuPlaces, ImageTextAndSeparatorLine) {
    struct Case {
        int h, imageY;
    };
    const Case cases[] = {{22, 4}, {21, 3}, {19, 2}, {16, 1}, {9, -2}};
    for (const Case& c : cases) {
        EXPECT_EQ(menuImagePosition(c.h).x, 2);
        EXPECT_EQ(menuImagePosition(c.h).y, c.imageY) << c.h;
    }
    EXPECT_EQ(menuTextRect(228, 19), (Rect{28, 0, 220, 19}));
    EXPECT_EQ(separatorLineRect(228, 9), (Rect{24, 4, 228, 5}));
}

// The tick's pixels: seven strokes of three, left to right, all inside the image column.
TEST(MenuPlaces, TickStrokes) {
    const int tops[] = {9, 10, 11, 10, 9, 8, 7};
    int x = 7;
    for (std::size_t i = 0; i < tickStrokes().size(); ++i, ++x) {
        EXPECT_EQ(tickStrokes()[i].x, x);
        EXPECT_EQ(tickStrokes()[i].top, tops[i]);
        EXPECT_EQ(tickStrokes()[i].length, 3);
        EXPECT_LT(tickStrokes()[i].x, ImageColumnWidth);
    }
}

TEST(MenuChar, TrayMenuEntries) {
    const std::vector<MenuCharEntry> tray = {
        {false, u"Das ge\u00f6ffnete Phrasenfenster ausblenden"},
        {true, u""},
        {false, u"Das Phrasenfenster nach dem Kopieren im Vordergrund halten"},
        {true, u""},
        {false, u"Die Kelmarin-Webseite aufrufen"},
        {true, u""},
        {false, u"Das Programm Merkzeile V1.3 beenden"},
    };
    EXPECT_EQ(menuCharPosition(tray, u'd'), 0);
    EXPECT_EQ(menuCharPosition(tray, u'D'), 0);
    EXPECT_EQ(menuCharPosition(tray, u'x'), -1);
    EXPECT_EQ(menuCharPosition(tray, u'&'), -1);
    EXPECT_EQ(menuCharPosition(tray, u'\0'), -1);
}

TEST(MenuChar, AmpersandFirstThenInitialCaseBlindForAsciiOnly) {
    const std::vector<MenuCharEntry> entries = {
        {true, u""},         {false, u"Edit"},  {false, u"E&xit"},        {false, u"a&b&c"},
        {false, u"\u00d6l"}, {false, u"Ende&"}, {false, u"Zur&\u00fcck"},
    };
    struct Case {
        char16_t c;
        int position;
    };
    const Case cases[] = {
        {u'x', 2},       {u'X', 2},       // after the "&"
        {u'e', 1},       {u'E', 1},       // no "&" match: the first entry beginning with it
        {u'b', 3},       {u'c', -1},      // only the first "&" counts
        {u'\u00f6', -1}, {u'\u00d6', 4},  // no case folding beyond A to Z
        {u'\u00fc', 6},  {u'\u00dc', -1}, {u'z', 6}, {u'q', -1},
    };
    for (const Case& c : cases) EXPECT_EQ(menuCharPosition(entries, c.c), c.position) << int(c.c);
}

}  // namespace
}  // namespace mz
