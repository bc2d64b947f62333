// The clipboard copy against the real clipboard, including another program holding it open.
#include <gtest/gtest.h>

#include "actions/clipboard.h"
#include "test_support.h"

namespace mz {
namespace {

// Reads CF_UNICODETEXT exactly, retrying briefly while another program has the clipboard open.
bool clipboardText(std::u16string& text, SIZE_T* blockSize = nullptr) {
    for (int attempt = 0; attempt < 100 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    bool ok = data != nullptr;
    if (ok) {
        const char16_t* p = static_cast<const char16_t*>(GlobalLock(data));
        ok = p != nullptr;
        if (ok) text = p;
        if (blockSize) *blockSize = GlobalSize(data);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return ok;
}

// Another program holding the clipboard open for ms milliseconds; returns once it holds it.
HANDLE holdClipboard(DWORD ms) {
    const wchar_t* name = L"mz-clipholder-ready";
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, name);
    HANDLE process = test::startProcess(test::helperPath(L"clipholder.exe"),
                                        L"clipholder.exe " + std::to_wstring(ms) + L" " + name);
    if (process && WaitForSingleObject(ready, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        CloseHandle(process);
        process = nullptr;
    }
    CloseHandle(ready);
    return process;
}

TEST(Win32Clipboard, CopyPutsExactlyTheTextWithItsLineBreaks) {
    const std::u16string cases[] = {u"abc\r\n", u"Gr\u00FC\u00DFe\r\nzweite Zeile\r\n\U0001F600\r\n",
                                    std::u16string(5000, u'w') + u"\r\n"};
    for (const std::u16string& text : cases) {
        ASSERT_TRUE(copyToClipboard(text)) << GetLastError();
        std::u16string got;
        SIZE_T size = 0;
        ASSERT_TRUE(clipboardText(got, &size)) << GetLastError();
        EXPECT_EQ(got, text);
        EXPECT_GE(size, (text.size() + 1) * 2);
    }
}

TEST(Win32Clipboard, EmptyTextGivesAnEmptyClipboardText) {
    ASSERT_TRUE(copyToClipboard(u"vorher"));
    ASSERT_TRUE(copyToClipboard(u""));
    std::u16string got = u"x";
    ASSERT_TRUE(clipboardText(got));
    EXPECT_EQ(got, u"");
}

TEST(Win32Clipboard, ShortlyHeldClipboardIsWaitedFor) {
    ASSERT_TRUE(copyToClipboard(u"vorher"));
    HANDLE holder = holdClipboard(30);
    ASSERT_NE(holder, nullptr) << GetLastError();
    EXPECT_TRUE(copyToClipboard(u"nachher\r\n"));
    WaitForSingleObject(holder, 10000);
    CloseHandle(holder);
    std::u16string got;
    ASSERT_TRUE(clipboardText(got));
    EXPECT_EQ(got, u"nachher\r\n");
}

TEST(Win32Clipboard, LongHeldClipboardKeepsThePreviousContentAndReportsFailure) {
    ASSERT_TRUE(copyToClipboard(u"vorher"));
    HANDLE holder = holdClipboard(3000);
    ASSERT_NE(holder, nullptr) << GetLastError();
    DWORD start = GetTickCount();
    EXPECT_FALSE(copyToClipboard(u"nachher"));
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 90u);
    EXPECT_LT(took, 1000u);
    EXPECT_EQ(WaitForSingleObject(holder, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the holder ended too early";
    WaitForSingleObject(holder, 10000);
    CloseHandle(holder);
    std::u16string got;
    ASSERT_TRUE(clipboardText(got));
    EXPECT_EQ(got, u"vorher");
}

}  // namespace
}  // namespace mz
