// The phrase loader against the real Win32 file layer: share modes, creation, encodings under CP_ACP.
#include <gtest/gtest.h>

#include "app/slots.h"
#include "store/phrases.h"
#include "test_support.h"

namespace mz {
namespace {

class Win32Phrases : public testing::Test {
protected:
    void SetUp() override { resetSlots(); }
    void TearDown() override { resetSlots(); }
    test::TempFolder folder;
};

TEST_F(Win32Phrases, MissingFileIsCreatedWithZeroBytes) {
    loadPhraseFiles();
    for (int n = 1; n <= SlotCount; ++n) {
        std::string bytes = "x";
        ASSERT_TRUE(test::readBytes(reinterpret_cast<const wchar_t*>(phraseFileName(n).c_str()), bytes)) << n;
        EXPECT_EQ(bytes, "") << n;
    }
}

TEST_F(Win32Phrases, FileHeldWithoutSharingIsNeitherReadNorChanged) {
    ASSERT_TRUE(test::writeBytes(L"Merkzeile04.txt", "alt\r\n"));
    loadPhraseFiles();
    ASSERT_EQ(phraseSlot(4).fullText, u"alt\r\n");
    ASSERT_TRUE(test::writeBytes(L"Merkzeile04.txt", "neu\r\n"));
    HANDLE held = CreateFileW(L"Merkzeile04.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << GetLastError();
    loadPhraseFiles();
    EXPECT_EQ(phraseSlot(4).fullText, u"alt\r\n");
    EXPECT_EQ(phraseSlot(4).displayText, u"alt\\");
    CloseHandle(held);
    std::string bytes;
    ASSERT_TRUE(test::readBytes(L"Merkzeile04.txt", bytes));
    EXPECT_EQ(bytes, "neu\r\n");
    loadPhraseFiles();
    EXPECT_EQ(phraseSlot(4).fullText, u"neu\r\n");
}

TEST_F(Win32Phrases, ExistingFileThatCannotBeOpenedIsNotTruncated) {
    // Held for writing by another handle that shares reading only: our exclusive open and the creation both
    // fail, and the content must survive.
    ASSERT_TRUE(test::writeBytes(L"Merkzeile06.txt", "behalten"));
    HANDLE held = CreateFileW(L"Merkzeile06.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << GetLastError();
    loadPhraseFiles();
    CloseHandle(held);
    std::string bytes;
    ASSERT_TRUE(test::readBytes(L"Merkzeile06.txt", bytes));
    EXPECT_EQ(bytes, "behalten");
    EXPECT_EQ(phraseSlot(6).fullText, u"");
}

TEST_F(Win32Phrases, FolderOfThePhraseFileNameIsLeftAlone) {
    ASSERT_TRUE(CreateDirectoryW(L"Merkzeile05.txt", nullptr)) << GetLastError();
    loadPhraseFiles();
    DWORD attributes = GetFileAttributesW(L"Merkzeile05.txt");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(phraseSlot(5).fullText, u"");
}

TEST_F(Win32Phrases, LongLineIsReadWhole) {
    ASSERT_TRUE(test::writeBytes(L"Merkzeile01.txt", std::string(10000, 'z')));
    loadPhraseFiles();
    EXPECT_EQ(phraseSlot(1).fullText, std::u16string(10000, u'z') + u"\r\n");
}

TEST_F(Win32Phrases, EachEncodingDecodes) {
    ASSERT_EQ(GetACP(), 1252u) << "the cases below assume Windows-1252 as the ANSI code page";
    struct Case { const wchar_t* file; std::string bytes; std::u16string full; };
    const Case cases[] = {
        {L"Merkzeile01.txt", "Gr\xFC\xDF" "e\r\n", u"Gr\u00FC\u00DFe\r\n"},
        {L"Merkzeile02.txt", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e\r\n", u"Gr\u00FC\u00DFe\r\n"},
        {L"Merkzeile03.txt", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", u"Gr\u00FC\u00DFe \u20AC\r\n"},
        {L"Merkzeile04.txt", std::string("\xFF\xFEG\0\xFC\0\r\0\n\0", 10), u"G\u00FC\r\n"},
        {L"Merkzeile07.txt", std::string("\xFE\xFF\0G\0\xFC\0\n", 8), u"G\u00FC\r\n"},
        {L"Merkzeile08.txt", "\x80 5", u"\u20AC 5\r\n"},
    };
    for (const Case& c : cases) ASSERT_TRUE(test::writeBytes(c.file, c.bytes));
    loadPhraseFiles();
    for (const Case& c : cases) {
        int n = std::stoi(std::wstring(c.file).substr(9, 2));
        EXPECT_EQ(phraseSlot(n).fullText, c.full) << n;
    }
}

}  // namespace
}  // namespace mz
