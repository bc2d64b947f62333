// The real Win32 file layer: share modes, creation without overwriting, whole reads.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "test_support.h"

namespace mz {
namespace {

TEST(Win32Files, ExclusiveOpenFailsWhileAnotherHandleHoldsTheFile) {
    test::TempFolder folder;
    ASSERT_TRUE(test::writeBytes(L"a.txt", "abc"));
    HANDLE other = CreateFileW(L"a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE) << GetLastError();
    File f = openFile(u"a.txt", FileAccess::Read, ShareNone, FileCreation::OpenExisting);
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(other);
    File again = openFile(u"a.txt", FileAccess::Read, ShareNone, FileCreation::OpenExisting);
    ASSERT_TRUE(again.isOpen());
    std::uint8_t buf[8];
    EXPECT_EQ(again.read(buf, sizeof buf), 3u);
    EXPECT_EQ(again.read(buf, sizeof buf), 0u);
}

TEST(Win32Files, CreateNewNeverReplacesAnExistingFile) {
    test::TempFolder folder;
    ASSERT_TRUE(test::writeBytes(L"a.txt", "keep"));
    EXPECT_FALSE(openFile(u"a.txt", FileAccess::ReadWrite, ShareNone, FileCreation::CreateNew).isOpen());
    std::string bytes;
    ASSERT_TRUE(test::readBytes(L"a.txt", bytes));
    EXPECT_EQ(bytes, "keep");
    EXPECT_TRUE(pathExists(u"a.txt"));
    EXPECT_FALSE(pathExists(u"b.txt"));
}

TEST(Win32Files, RewriteInPlaceThenCut) {
    test::TempFolder folder;
    ASSERT_TRUE(test::writeBytes(L"s.ini", "0123456789"));
    File f = openFile(u"s.ini", FileAccess::ReadWrite, ShareRead, FileCreation::OpenExisting);
    ASSERT_TRUE(f.isOpen());
    std::uint64_t size = 0;
    ASSERT_TRUE(f.size(size));
    EXPECT_EQ(size, 10u);
    const std::uint8_t text[] = {'x', 'y'};
    ASSERT_TRUE(f.seek(0));
    ASSERT_TRUE(f.write(text, 2));
    ASSERT_TRUE(f.truncateHere());
    f.close();
    std::string bytes;
    ASSERT_TRUE(test::readBytes(L"s.ini", bytes));
    EXPECT_EQ(bytes, "xy");
}

}  // namespace
}  // namespace mz
