// Merkzeile.ini against real Windows files: read-only attribute, files held by other handles, vanished files.
#include <gtest/gtest.h>

#include "store/settings.h"
#include "test_support.h"

namespace mz {
namespace {

const wchar_t* const iniName = L"Merkzeile.ini";
const std::string mark = "\xEF\xBB\xBF\r\n";
const std::string sample =
    "; Einstellungen \xE4\r\n[Fensterkoordinaten]\r\nWindowPosX=77\r\nWindowPosY=88\r\n"
    "[Fensterstatus]\r\nWindowState=1\r\n";

// Another program's handle on the settings file, for as long as it lives.
class Holder {
public:
  Holder(DWORD access, DWORD share)
      : handle_(CreateFileW(iniName, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
        error_(GetLastError()) {}
  ~Holder() {
      if (isOpen()) CloseHandle(handle_);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }

private:
    HANDLE handle_;
    DWORD error_;
};

void expectSettings(const Settings& s, std::int32_t x, std::int32_t y, std::int32_t keep) {
    EXPECT_EQ(s.windowPosX, x);
    EXPECT_EQ(s.windowPosY, y);
    EXPECT_EQ(s.keepInFront, keep);
}

std::string fileBytes() {
    std::string bytes;
    EXPECT_TRUE(test::readBytes(iniName, bytes)) << GetLastError();
    return bytes;
}

TEST(Win32Settings, FirstStartAndFirstMoveAreByteExact) {
    test::TempFolder folder;
    expectSettings(loadSettings(), 10, 10, 0);
    EXPECT_EQ(
        fileBytes(),
        "[Fensterkoordinaten]\r\nWindowPosX=10\r\nWindowPosY=10\r\n[Fensterstatus]\r\nWindowState=0\r\n");
    saveWindowPosition(250, 300);
    EXPECT_EQ(fileBytes(), mark +
                               "[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=300\r\n"
                               "[Fensterstatus]\r\nWindowState=0\r\n");
}

TEST(Win32Settings, ReadOnlyAttributeFileIsReadAndNeverChanged) {
    test::TempFolder folder;
    ASSERT_TRUE(test::writeBytes(iniName, sample)) << GetLastError();
    ASSERT_TRUE(SetFileAttributesW(iniName, FILE_ATTRIBUTE_READONLY)) << GetLastError();
    {
        Holder writer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
        // Wine run by root with its full rights would write it anyway; scripts/lib.sh runs Wine without them.
        ASSERT_FALSE(writer.isOpen()) << "the read-only attribute does not refuse writing here";
        EXPECT_EQ(writer.error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    expectSettings(loadSettings(), 77, 88, 1);
    saveWindowPosition(1, 2);
    saveKeepInFront(0);
    EXPECT_EQ(fileBytes(), sample);
    const DWORD attributes = GetFileAttributesW(iniName);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << GetLastError();
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    expectSettings(loadSettings(), 77, 88, 1);
}

TEST(Win32Settings, FileHeldByAnotherHandle) {
    struct Case {
        const char* name;
        DWORD access, share;
        bool readable;
    };
    const Case cases[] = {
        // A second instance of the program holds it this way while it rewrites: only attempt c can read it.
        {"written by another, shared for reading", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, true},
        {"read by another, shared for reading", GENERIC_READ, FILE_SHARE_READ, true},
        {"written by another, shared for reading and writing", GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"read by another, not shared", GENERIC_READ, 0, false},
        {"written by another, not shared", GENERIC_READ | GENERIC_WRITE, 0, false},
        {"written by another, shared for writing only", GENERIC_WRITE, FILE_SHARE_WRITE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        ASSERT_TRUE(test::writeBytes(iniName, sample)) << GetLastError();
        {
            Holder other(c.access, c.share);
            ASSERT_TRUE(other.isOpen()) << other.error();
            if ((c.access & GENERIC_WRITE) && (c.share & FILE_SHARE_READ)) {
                // The premise: attempts a and b are refused, so the read comes from attempt c.
                Holder b(GENERIC_READ, FILE_SHARE_READ);
                EXPECT_FALSE(b.isOpen());
                EXPECT_EQ(b.error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            }
            if (c.readable) expectSettings(loadSettings(), 77, 88, 1);
            else expectSettings(loadSettings(), 10, 10, 0);
            saveWindowPosition(1, 2);
            saveKeepInFront(0);
        }
        EXPECT_EQ(fileBytes(), sample);
        expectSettings(loadSettings(), 77, 88, 1);
    }
}

TEST(Win32Settings, AVanishedFileIsCreatedAnewWithTheMarkAndOnlyTheGroupWritten) {
    test::TempFolder folder;
    ASSERT_TRUE(test::writeBytes(iniName, sample)) << GetLastError();
    expectSettings(loadSettings(), 77, 88, 1);
    ASSERT_TRUE(DeleteFileW(iniName)) << GetLastError();
    saveWindowPosition(250, 300);
    EXPECT_EQ(fileBytes(), mark + "[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=300\r\n");
    ASSERT_TRUE(DeleteFileW(iniName)) << GetLastError();
    saveKeepInFront(1);
    EXPECT_EQ(fileBytes(), mark + "[Fensterstatus]\r\nWindowState=1\r\n");
    expectSettings(loadSettings(), 10, 10, 1);
}

}  // namespace
}  // namespace mz
