// The slot table's fixed texts and numbers, and the display-text rule.
#include "app/slots.h"

#include <gtest/gtest.h>

#include <chrono>

namespace mz {
namespace {

TEST(SlotTable, NamesCaptionsAndTipsAreTwoDigitForm) {
    EXPECT_EQ(phraseFileName(1), u"Merkzeile01.txt");
    EXPECT_EQ(phraseFileName(20), u"Merkzeile20.txt");
    EXPECT_EQ(copyCaption(7), u"P07 Kopieren");
    EXPECT_EQ(editCaption(7), u"P07 bearbeiten");
    EXPECT_EQ(copyToolTip(7), u"Phrase07 in die Windows-Zwischenablage kopieren.");
    EXPECT_EQ(editToolTip(12), u"Phrase12 in 'Notepad'-Programm bearbeiten.");
}

TEST(SlotTable, ControlNumbersAndRows) {
    struct Row { int slot, copy, label, edit, y; };
    const Row rows[] = {{1, 27, 67, 47, 10}, {7, 33, 73, 53, 190}, {20, 46, 86, 66, 580}};
    for (const Row& r : rows) {
        EXPECT_EQ(copyButtonId(r.slot), r.copy);
        EXPECT_EQ(slotLabelId(r.slot), r.label);
        EXPECT_EQ(editButtonId(r.slot), r.edit);
        EXPECT_EQ(rowY(r.slot), r.y);
    }
}

TEST(SlotTable, LookupByControlNumber) {
    struct Case { int id, copySlot, editSlot; };
    const Case cases[] = {{26, 0, 0}, {27, 1, 0}, {46, 20, 0}, {47, 0, 1}, {66, 0, 20},
                          {67, 0, 0}, {87, 0, 0}, {3, 0, 0},   {5, 0, 0},   {-1, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(slotOfCopyButton(c.id), c.copySlot) << c.id;
        EXPECT_EQ(slotOfEditButton(c.id), c.editSlot) << c.id;
    }
}

std::u16string letters(std::size_t n, char16_t c = u'x') { return std::u16string(n, c); }

TEST(DisplayText, Cases) {
    struct Case { std::u16string full, display; };
    const std::u16string line40 = letters(40) + u"\r\n";
    const Case cases[] = {
        {u"", u""},
        {u"abcde\r\n", u"abcde\\"},
        {u"\r\n", u"\\"},
        {line40 + line40 + line40, letters(40) + u"\\" + letters(40) + u"\\" + letters(40) + u"\\"},
        {letters(125), letters(125)},
        {letters(126), letters(125) + u"..."},
        {letters(124) + u"\r\nrest", letters(124) + u"\\..."},  // the 125th character is a line mark
        {letters(125) + u"\r\n", letters(125) + u"..."},        // the 126th is
        {u"a\rb\nc", u"a\rb\nc"},                               // lone CR and LF stay
        {u"\r\r\n\n", u"\r\\\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(makeDisplayText(c.full), c.display);
}

TEST(DisplayText, CutIsIdempotent) {
    std::u16string once = makeDisplayText(letters(300));
    ASSERT_EQ(once.size(), 128u);
    EXPECT_EQ(makeDisplayText(once), once);
}

// Only the head of a phrase is shown, so a phrase of millions of characters costs no more than a short one.
TEST(DisplayText, CostDoesNotGrowWithThePhrase) {
    const std::u16string huge = letters(std::size_t{8} << 20);
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < 100; ++k) ASSERT_EQ(makeDisplayText(huge).size(), 128u);
    // Going through the whole phrase each time takes seconds; the head alone, well under a millisecond.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(Slots, ShortTextReleasesTheMemoryOfALongOne) {
    resetSlots();
    setSlotFullText(1, letters(std::size_t{1} << 20));
    setSlotFullText(1, u"kurz\r\n");
    EXPECT_EQ(phraseSlot(1).fullText, u"kurz\r\n");
    EXPECT_LT(phraseSlot(1).fullText.capacity(), 1000u);
    resetSlots();
}

TEST(Slots, SettingFullTextSetsDisplayText) {
    resetSlots();
    EXPECT_EQ(phraseSlot(3).fullText, u"");
    setSlotFullText(3, u"ab\r\ncd\r\n");
    EXPECT_EQ(phraseSlot(3).fullText, u"ab\r\ncd\r\n");
    EXPECT_EQ(phraseSlot(3).displayText, u"ab\\cd\\");
    EXPECT_EQ(phraseSlot(4).displayText, u"");
    resetSlots();
}

}  // namespace
}  // namespace mz
