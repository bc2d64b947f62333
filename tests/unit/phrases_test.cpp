// Phrase files: encodings, line rules, and the loader against real files.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/slots.h"
#include "store/phrases.h"
#include "temp_folder.h"

namespace mz {
namespace {

std::u16string fullText(const std::string& bytes) {
    return phraseFullText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(PhraseText, LineRules) {
    struct Case { std::string bytes; std::u16string full; };
    const Case cases[] = {
        {"", u""},
        {"ab\r\ncd\r\n", u"ab\r\ncd\r\n"},
        {"ab\ncd", u"ab\r\ncd\r\n"},
        {"a\rb", u"a\r\nb\r\n"},
        {"\r\n", u"\r\n"},
        {"a\n\rb", u"a\r\n\r\nb\r\n"},
        {std::string("ab\0cd", 5), u"ab\r\ncd\r\n"},
        {"abc\r", u"abc\r\n"},
        {"\n\n", u"\r\n\r\n"},
        {std::string("\0", 1), u"\r\n"},
        {"a\r\r\nb", u"a\r\n\r\nb\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(fullText(c.bytes), c.full) << c.bytes;
}

TEST(PhraseText, Encodings) {
    struct Case { const char* what; std::string bytes; std::u16string full; };
    const Case cases[] = {
        {"ANSI Windows-1252", "Gr\xFC\xDF" "e\r\n\x80", u"Gr\u00FC\u00DFe\r\n\u20AC\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e", u"Gr\u00FC\u00DFe\r\n"},
        {"UTF-8 without mark", "Gr\xC3\xBC\xC3\x9F" "e\nx", u"Gr\u00FC\u00DFe\r\nx\r\n"},
        {"UTF-8 outside the BMP", "\xF0\x9F\x98\x80", u"\U0001F600\r\n"},
        {"mark alone", "\xEF\xBB\xBF", u""},
        {"UTF-16 LE", std::string("\xFF\xFE" "a\0\xFC\0\r\0\n\0b\0", 12), u"a\u00FC\r\nb\r\n"},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0\n\0\0\0b", 10), u"a\r\n\r\nb\r\n"},
        {"UTF-16 LE odd last byte", std::string("\xFF\xFE" "a\0b", 5), u"a\uFFFD\r\n"},
        // Ill-formed UTF-8 without a mark is ANSI: an overlong slash and a lone continuation byte.
        {"overlong is not UTF-8", "\xC0\xAF", u"\u00C0\u00AF\r\n"},
        {"surrogate is not UTF-8", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC\r\n"},
        {"truncated sequence", "ab\xC3", u"ab\u00C3\r\n"},
        // Ill-formed bytes behind a UTF-8 mark are replaced, not dropped silently with their neighbours.
        {"bad byte behind mark", "\xEF\xBB\xBF" "a\xFF" "b", u"a\uFFFDb\r\n"},
        {"sequence cut by a line end", "\xEF\xBB\xBF" "a\xE2\x82\nb\r", u"a\uFFFD\uFFFD\r\nb\r\n"},
        {"UTF-8 lines", std::string("\xC3\xA4\r\n\r\xC3\xB6\0\xC3\xBC", 10),
         u"\u00E4\r\n\r\n\u00F6\r\n\u00FC\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(fullText(c.bytes), c.full) << c.what;
}

// A fresh current directory for the loader, removed afterwards.
class PhraseFolder : public testing::Test {
protected:
    void SetUp() override { resetSlots(); }
    void TearDown() override { resetSlots(); }
    static void write(const char* name, const std::string& bytes) { test::writeFile(name, bytes); }
    static std::string read(const char* name) { return test::readFile(name); }
    test::TempFolder folder_{"mz-phrases"};
};

TEST_F(PhraseFolder, MissingFilesAreCreatedEmpty) {
    write("Merkzeile02.txt", "zwei\n");
    loadPhraseFiles();
    for (int n = 1; n <= SlotCount; ++n) {
        struct stat st;
        ASSERT_EQ(stat(std::string("Merkzeile" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".txt").c_str(),
                       &st), 0) << n;
        EXPECT_EQ(st.st_size, n == 2 ? 5 : 0) << n;
    }
    EXPECT_EQ(phraseSlot(2).fullText, u"zwei\r\n");
    EXPECT_EQ(phraseSlot(2).displayText, u"zwei\\");
    EXPECT_EQ(phraseSlot(5).fullText, u"");
}

TEST_F(PhraseFolder, HeldFileIsNeitherReadNorChangedAndKeepsItsTexts) {
    write("Merkzeile03.txt", "alt\n");
    loadPhraseFiles();
    write("Merkzeile03.txt", "neu\n");
    int fd = open("Merkzeile03.txt", O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);  // stands in for another program's exclusive open
    loadPhraseFiles();
    EXPECT_EQ(phraseSlot(3).fullText, u"alt\r\n");
    EXPECT_EQ(read("Merkzeile03.txt"), "neu\n");
    close(fd);
    loadPhraseFiles();
    EXPECT_EQ(phraseSlot(3).fullText, u"neu\r\n");
}

TEST_F(PhraseFolder, FolderOfThatNameStaysAndSlotStaysEmpty) {
    ASSERT_EQ(mkdir("Merkzeile05.txt", 0755), 0);
    loadPhraseFiles();
    struct stat st;
    ASSERT_EQ(stat("Merkzeile05.txt", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(phraseSlot(5).fullText, u"");
}

TEST_F(PhraseFolder, LongLineAndLargeFileReadWhole) {
    std::string line(10000, 'q');
    write("Merkzeile01.txt", line + "\r\n" + line);
    loadPhraseFiles();
    std::u16string expected = std::u16string(10000, u'q') + u"\r\n";
    EXPECT_EQ(phraseSlot(1).fullText, expected + expected);
    EXPECT_EQ(phraseSlot(1).displayText.size(), 128u);
}

}  // namespace
}  // namespace mz
