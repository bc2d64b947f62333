// Merkzeile.ini through the real (posix) file layer: the default file, byte-exact rewrites, files left alone.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "store/settings.h"

namespace mz {
namespace {

const char* const iniName = "Merkzeile.ini";
const std::string mark = "\xEF\xBB\xBF\r\n";
const std::string defaultFile =
    "[Fensterkoordinaten]\r\nWindowPosX=10\r\nWindowPosY=10\r\n[Fensterstatus]\r\nWindowState=0\r\n";

// Each test runs in a fresh empty directory of its own, the settings file's home.
class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "mz-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        closeStore();
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static void writeFile(const std::string& bytes) {
        std::ofstream out(iniName, std::ios::binary | std::ios::trunc);
        out << bytes;
        ASSERT_TRUE(out.good());
    }
    static std::optional<std::string> readFile() {
        std::ifstream in(iniName, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path previous_, folder_;
};

void expectSettings(const Settings& s, std::int32_t x, std::int32_t y, std::int32_t keep,
                    const std::string& what) {
    EXPECT_EQ(s.windowPosX, x) << what;
    EXPECT_EQ(s.windowPosY, y) << what;
    EXPECT_EQ(s.keepInFront, keep) << what;
}

TEST_F(SettingsFile, FirstStartWritesTheDefaultFileThenAMoveGivesTheMarkedForm) {
    expectSettings(loadSettings(), 10, 10, 0, "first start");
    EXPECT_EQ(readFile(), defaultFile);
    EXPECT_EQ(defaultFile.size(), 84u);

    saveWindowPosition(250, 300);
    const std::string moved = mark +
                              "[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=300\r\n"
                              "[Fensterstatus]\r\nWindowState=0\r\n";
    EXPECT_EQ(moved.size(), 91u);
    EXPECT_EQ(readFile(), moved);

    saveKeepInFront(1);
    expectSettings(loadSettings(), 250, 300, 1, "second start");
    EXPECT_EQ(readFile(), mark +
                              "[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=300\r\n"
                              "[Fensterstatus]\r\nWindowState=1\r\n");
}

TEST_F(SettingsFile, ValuesReadAsDecimalNumbers) {
    struct Case {
        std::string value;
        std::int32_t x;
    };
    const Case cases[] = {
        {"250", 250},  {"abc", 0},   {"", 0},    {"  -20px", -20},
        {"0x10", 0},   {"+7", 7},    {"-", 0},   {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        const std::string file = "[Fensterkoordinaten]\r\nWindowPosX=" + c.value + "\r\nWindowPosY=5\r\n";
        writeFile(file);
        expectSettings(loadSettings(), c.x, 5, 0, "'" + c.value + "'");
        EXPECT_EQ(readFile(), file) << "reading changes nothing";
    }
}

// Each case: the file before, what loadSettings gives, one save, the file after.
TEST_F(SettingsFile, ParseAndRewrite) {
    enum Save { Move, Keep };
    struct Case {
        const char* name;
        std::string before;
        std::int32_t x, y, keep;
        Save save;
        std::int32_t a, b;
        std::string after;
    };
    const Case cases[] = {
        {"hand-edited key in small letters with blanks around the equals sign",
         "[Fensterkoordinaten]\r\n  windowposx = 250\r\nWindowPosY=20\r\n", 250, 20, 0, Move, 300, 40,
         mark + "[Fensterkoordinaten]\r\nWindowPosX=300\r\nWindowPosY=40\r\n"},
        {"missing group is appended at the end", "; nur das\r\n[Andere]\r\nA=1\r\n", 10, 10, 0, Move, 5, 6,
         mark + "; nur das\r\n[Andere]\r\nA=1\r\n[Fensterkoordinaten]\r\nWindowPosX=5\r\nWindowPosY=6\r\n"},
        {"group name with blanks does not match",
         "[ Fensterkoordinaten ]\r\nWindowPosX=250\r\nWindowPosY=250\r\n", 10, 10, 0, Move, 1, 2,
         mark + "[ Fensterkoordinaten ]\r\nWindowPosX=250\r\nWindowPosY=250\r\n"
                "[Fensterkoordinaten]\r\nWindowPosX=1\r\nWindowPosY=2\r\n"},
        {"only the first of two groups is read and written",
         "[Fensterstatus]\r\nWindowState=1\r\n[Fensterstatus]\r\nWindowState=7\r\n", 10, 10, 1, Keep, 0, 0,
         mark + "[Fensterstatus]\r\nWindowState=0\r\n[Fensterstatus]\r\nWindowState=7\r\n"},
        {"comment without blank, key line without equals sign, line beginning with a number sign",
         ";kommentar\r\n#notiz\r\n[Fensterkoordinaten]\r\nFlag\r\n#WindowPosX=7\r\nWindowPosX=3\r\n", 3, 10,
         0, Move, 4, 5,
         mark + "; kommentar\r\n#notiz=\r\n[Fensterkoordinaten]\r\nFlag=\r\n#WindowPosX=7\r\nWindowPosX=4\r\n"
                "WindowPosY=5\r\n"},
        {"ISO-8859-1 byte becomes UTF-8 behind the mark", "; K\xE4se\r\n[Fensterstatus]\r\nWindowState=1\r\n",
         10, 10, 1, Keep, 0, 0, mark + "; K\xC3\xA4se\r\n[Fensterstatus]\r\nWindowState=0\r\n"},
        {"UTF-8 with mark is kept as it is",
         "\xEF\xBB\xBF; Gr\xC3\xBC\xC3\x9F"
         "e\n[Fensterstatus]\nWindowState=1",
         10, 10, 1, Keep, 0, 0,
         mark + "; Gr\xC3\xBC\xC3\x9F"
                "e\r\n[Fensterstatus]\r\nWindowState=0\r\n"},
        {"unknown groups, keys and comments stay in place; blank lines and leading blanks go",
         "\r\n; oben\r\nLos=1\r\n\r\n[Fensterkoordinaten]\r\n\tWindowPosY=7\r\nBreite=640  \r\n; mitte\r\n"
         "[Extra]\r\nX=y=z\r\n   \r\n[Fensterstatus]   nachsatz\r\nWindowState=1\r\n",
         10, 7, 1, Move, 11, 12,
         mark + "; oben\r\nLos=1\r\n[Fensterkoordinaten]\r\nWindowPosY=12\r\nBreite=640  \r\n; mitte\r\n"
                "WindowPosX=11\r\n[Extra]\r\nX=y=z\r\n[Fensterstatus]\r\nWindowState=1\r\n"},
        {"missing key goes to the end of its group",
         "[Fensterstatus]\r\n; nichts\r\n[Fensterkoordinaten]\r\nWindowPosX=1\r\n", 1, 10, 0, Keep, 1, 0,
         mark + "[Fensterstatus]\r\n; nichts\r\nWindowState=1\r\n[Fensterkoordinaten]\r\nWindowPosX=1\r\n"},
        {"keys above the first group belong to none",
         "WindowPosX=99\r\n[Fensterkoordinaten]\r\nWindowPosY=5\r\n", 10, 5, 0, Move, 1, 2,
         mark + "WindowPosX=99\r\n[Fensterkoordinaten]\r\nWindowPosY=2\r\nWindowPosX=1\r\n"},
        {"group found in other letter case keeps its spelling; lone CR ends lines",
         "[FENSTERkoordinaten]\rwindowposx=8\rWINDOWPOSY=9", 8, 9, 0, Move, 1, 2,
         mark + "[FENSTERkoordinaten]\r\nWindowPosX=1\r\nWindowPosY=2\r\n"},
        {"zero bytes: defaults, and the first write has no mark", "", 10, 10, 0, Move, 250, 300,
         "[Fensterkoordinaten]\r\nWindowPosX=250\r\nWindowPosY=300\r\n"},
        {"a shorter rewrite cuts the file after it",
         "\r\n\r\n   [Fensterstatus]   alter Nachsatz\r\n\r\n\t WindowState = 1\r\n\r\n\r\n\r\n", 10, 10, 1,
         Keep, 0, 0, mark + "[Fensterstatus]\r\nWindowState=0\r\n"},
        {"mark alone", "\xEF\xBB\xBF", 10, 10, 0, Keep, 1, 0, mark + "[Fensterstatus]\r\nWindowState=1\r\n"},
    };
    for (const Case& c : cases) {
        writeFile(c.before);
        expectSettings(loadSettings(), c.x, c.y, c.keep, c.name);
        EXPECT_EQ(readFile(), c.before) << c.name << ": loading writes nothing";
        if (c.save == Move) saveWindowPosition(c.a, c.b);
        else saveKeepInFront(c.a);
        EXPECT_EQ(readFile(), c.after) << c.name;
    }
}

TEST_F(SettingsFile, AVanishedFileIsCreatedWithTheMarkAndOnlyTheGroupWritten) {
    loadSettings();
    ASSERT_EQ(std::remove(iniName), 0);
    saveKeepInFront(1);
    EXPECT_EQ(readFile(), mark + "[Fensterstatus]\r\nWindowState=1\r\n");
    ASSERT_EQ(std::remove(iniName), 0);
    saveWindowPosition(-3, 4);
    EXPECT_EQ(readFile(), mark + "[Fensterkoordinaten]\r\nWindowPosX=-3\r\nWindowPosY=4\r\n");
}

// The native file layer stands in for Windows share modes with flock(): an exclusive lock shares nothing, a
// shared one lets others read but not write.
TEST_F(SettingsFile, AFileHeldByAnotherProgramIsNeverReplaced) {
    const std::string before = "[Fensterkoordinaten]\r\nWindowPosX=77\r\n; \xE4\r\n";
    struct Case {
        int lock;
        std::int32_t x;
    };
    for (const Case& c : {Case{LOCK_EX, 10}, Case{LOCK_SH, 77}}) {
        writeFile(before);
        int holder = open(iniName, O_RDONLY);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(flock(holder, c.lock), 0);
        expectSettings(loadSettings(), c.x, 10, 0,
                       c.lock == LOCK_EX ? "held exclusively" : "held for reading");
        saveWindowPosition(1, 2);
        saveKeepInFront(1);
        EXPECT_EQ(readFile(), before);
        close(holder);
    }
}

TEST_F(SettingsFile, AFileWithoutReadRightIsLeftAlone) {
    const std::string before = "[Fensterkoordinaten]\r\nWindowPosX=77\r\n";
    writeFile(before);
    ASSERT_EQ(chmod(iniName, 0200), 0);
    // Root may read anything: act as an ordinary user for the program's part.
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chmod(".", 0777), 0);
        ASSERT_EQ(seteuid(65534), 0);
    }
    const Settings s = loadSettings();
    saveWindowPosition(1, 2);
    if (root) {
        ASSERT_EQ(seteuid(0), 0);
    }
    expectSettings(s, 10, 10, 0, "no read right");
    ASSERT_EQ(chmod(iniName, 0600), 0);
    EXPECT_EQ(readFile(), before);
}

TEST_F(SettingsFile, AnUnopenableEntryOfThatNameIsLeftAlone) {
    ASSERT_EQ(mkdir(iniName, 0755), 0);
    expectSettings(loadSettings(), 10, 10, 0, "folder of that name");
    saveWindowPosition(1, 2);
    struct stat st;
    ASSERT_EQ(stat(iniName, &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(SettingsFile, StoreOperations) {
    EXPECT_FALSE(openStore(u"Merkzeile.ini"));
    EXPECT_FALSE(selectGroup(u"G"));
    EXPECT_EQ(readInteger(u"k", 42), 42);
    closeStore();
    EXPECT_EQ(readFile(), std::nullopt) << "nothing changed, nothing created";

    writeFile("[G]\r\nk=5\r\n");
    ASSERT_TRUE(openStore(u"Merkzeile.ini"));
    EXPECT_FALSE(selectGroup(u"H"));
    EXPECT_EQ(readInteger(u"k", 42), 42);
    EXPECT_TRUE(selectGroup(u"g"));
    EXPECT_EQ(readInteger(u"K", 42), 5);
    writeInteger(u"k", 6);
    EXPECT_EQ(readInteger(u"k", 42), 6);
    EXPECT_EQ(readFile(), "[G]\r\nk=5\r\n") << "written only on close";
    // A second open closes the first with write-back.
    ASSERT_TRUE(openStore(u"Merkzeile.ini"));
    EXPECT_EQ(readFile(), mark + "[G]\r\nk=6\r\n");
    closeStore();

    // After a close the entries and the remembered name are gone: writes go nowhere.
    selectGroup(u"G");
    writeInteger(u"k", 7);
    closeStore();
    EXPECT_EQ(readFile(), mark + "[G]\r\nk=6\r\n");
}

}  // namespace
}  // namespace mz
