// The phrase window's control table, row rule, outer size and label font height.
#include <gtest/gtest.h>

#include <set>

#include "app/slots.h"
#include "ui/layout.h"

namespace mz {
namespace {

constexpr std::uint32_t ButtonStyle = 0x50030000;  // WS_CHILD|WS_VISIBLE|WS_GROUP|WS_TABSTOP|BS_PUSHBUTTON
constexpr std::uint32_t LabelStyle = 0x50020080;   // WS_CHILD|WS_VISIBLE|WS_GROUP|SS_LEFT|SS_NOPREFIX

TEST(ControlTable, SampleRowsInCreationOrder) {
    struct Row {
        std::size_t index;
        int slot, id;
        ControlClass cls;
        int x, y, w, h;
        std::uint32_t style, exStyle;
    };
    const Row rows[] = {
        {0, 1, 27, ControlClass::Button, 10, 10, 70, 20, ButtonStyle, 0},
        {6, 7, 33, ControlClass::Button, 10, 190, 70, 20, ButtonStyle, 0},
        {19, 20, 46, ControlClass::Button, 10, 580, 70, 20, ButtonStyle, 0},
        {20, 1, 67, ControlClass::Static, 90, 10, 900, 20, LabelStyle, 0x200},
        {39, 20, 86, ControlClass::Static, 90, 580, 900, 20, LabelStyle, 0x200},
        {40, 1, 47, ControlClass::Button, 1000, 10, 80, 20, ButtonStyle, 0},
        {52, 13, 59, ControlClass::Button, 1000, 370, 80, 20, ButtonStyle, 0},
        {59, 20, 66, ControlClass::Button, 1000, 580, 80, 20, ButtonStyle, 0},
    };
    for (const Row& r : rows) {
        const ControlSpec& c = controlTable()[r.index];
        EXPECT_EQ(c.slot, r.slot) << r.index;
        EXPECT_EQ(c.id, r.id) << r.index;
        EXPECT_EQ(c.controlClass, r.cls) << r.index;
        EXPECT_EQ(c.x, r.x) << r.index;
        EXPECT_EQ(c.y, r.y) << r.index;
        EXPECT_EQ(c.width, r.w) << r.index;
        EXPECT_EQ(c.height, r.h) << r.index;
        EXPECT_EQ(c.style, r.style) << r.index;
        EXPECT_EQ(c.exStyle, r.exStyle) << r.index;
    }
}

TEST(ControlTable, TextsAndToolTipsComeFromTheSlot) {
    resetSlots();
    setSlotFullText(7, u"Gr\u00fc\u00dfe & Dank\r\nzwei\r\n");
    const auto& t = controlTable();
    EXPECT_EQ(controlText(t[6]), u"P07 Kopieren");
    EXPECT_EQ(controlToolTip(t[6]), u"Phrase07 in die Windows-Zwischenablage kopieren.");
    EXPECT_EQ(controlText(t[26]), u"Gr\u00fc\u00dfe & Dank\\zwei\\");
    EXPECT_EQ(controlToolTip(t[26]), u"");
    EXPECT_EQ(controlText(t[27]), u"");
    EXPECT_EQ(controlText(t[46]), u"P07 bearbeiten");
    EXPECT_EQ(controlToolTip(t[46]), u"Phrase07 in 'Notepad'-Programm bearbeiten.");
    resetSlots();
}

// Every control stands in its row, the numbers 27..86 each occur once, and the layout keeps ten pixels
// between columns, between rows and to every edge of the client area.
TEST(ControlTable, RowsNumbersAndMargins) {
    std::set<int> ids;
    for (const ControlSpec& c : controlTable()) {
        ids.insert(c.id);
        EXPECT_EQ(c.y, 10 + 30 * (c.slot - 1)) << c.id;
        EXPECT_EQ(c.height, 20) << c.id;
        EXPECT_GE(c.x, 10) << c.id;
        EXPECT_LE(c.x + c.width, ClientWidth - 10) << c.id;
        EXPECT_LE(c.y + c.height, ClientHeight - 10) << c.id;
    }
    EXPECT_EQ(ids.size(), 60u);
    EXPECT_EQ(*ids.begin(), 27);
    EXPECT_EQ(*ids.rbegin(), 86);
    const auto& t = controlTable();
    EXPECT_EQ(t[20].x - (t[0].x + t[0].width), 10);
    EXPECT_EQ(t[40].x - (t[20].x + t[20].width), 10);
    EXPECT_EQ(ClientWidth - (t[40].x + t[40].width), 10);
    EXPECT_EQ(t[1].y - (t[0].y + t[0].height), 10);
    EXPECT_EQ(ClientHeight - (t[19].y + t[19].height), 10);
}

TEST(OuterSize, ClientAreaPlusFrame) {
    struct Case {
        FrameExtents frame;
        int width, height;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 1090, 610},
        {{3, 22, 3, 3}, 1096, 635},  // a fixed frame of 3 and a caption of 19
        {{8, 31, 8, 8}, 1106, 649},  // a wider themed frame
    };
    for (const Case& c : cases) {
        const Size s = outerWindowSize(c.frame);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
    }
}

TEST(LabelFont, HeightFollowsDotsPerInchWithMulDivRounding) {
    struct Case {
        int dpi, height;
    };
    const Case cases[] = {{96, -12},  {120, -15}, {144, -18}, {72, -9},
                          {100, -13}, {110, -14}, {104, -13}, {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(labelFontHeight(c.dpi), c.height) << c.dpi;
}

TEST(LabelFont, MulDivRoundsHalfAwayFromZeroAndReportsOverflow) {
    struct Case {
        std::int32_t a, b, c, result;
    };
    const Case cases[] = {
        {9, 100, 72, 13},
        {7, 1, 2, 4},
        {-7, 1, 2, -4},
        {7, -1, 2, -4},
        {7, 1, -2, -4},
        {-7, -1, -2, -4},
        {5, 1, 3, 2},
        {4, 1, 3, 1},
        {0, -5, 3, 0},
        {1, 1, 0, -1},
        {2147483647, 2, 1, -1},
        {2147483647, 2, 2, 2147483647},
        {-2147483647, 1, 1, -2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.result) << c.a << " " << c.b << " " << c.c;
}

}  // namespace
}  // namespace mz
