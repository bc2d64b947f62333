// Launching's string work: command line, the shell's folder, and where a bare program name is looked for.
#include <gtest/gtest.h>

#include "actions/launch.h"
#include "actions/program_search.h"

namespace mz {
namespace {

TEST(Launch, CommandLine) {
    struct Case {
        std::u16string target, parameters, line;
    };
    const Case cases[] = {
        {u"Notepad.exe", u"Merkzeile07.txt", u"\"Notepad.exe\" Merkzeile07.txt"},
        {u"Notepad.exe", u"", u"\"Notepad.exe\""},
        {u"\"C:\\Program Files\\ed.exe\"", u"a b", u"\"C:\\Program Files\\ed.exe\" a b"},
        {u"\"ed.exe\" -x", u"", u"\"ed.exe\" -x"},
        {u"C:\\Program Files\\ed.exe", u"\"my file.txt\"", u"\"C:\\Program Files\\ed.exe\" \"my file.txt\""},
        {u"http://kelmarin.example/merkzeile", u"", u"\"http://kelmarin.example/merkzeile\""},
        {u"ed.exe", u" ", u"\"ed.exe\"  "},
        {u"", u"", u"\"\""},
    };
    for (const Case& c : cases) EXPECT_EQ(buildCommandLine(c.target, c.parameters), c.line);
}

TEST(Launch, ShellDirectory) {
    struct Case {
        std::u16string target, directory, result;
    };
    const Case cases[] = {
        {u"C:\\Tools\\ed.exe", u"", u"C:\\Tools\\"},
        {u"C:\\Tools\\sub\\ed.exe", u"", u"C:\\Tools\\sub\\"},
        {u"C:\\Tools\\ed.exe", u"D:\\work", u"D:\\work"},
        {u"Notepad.exe", u"D:\\work", u"D:\\work"},
        {u"Notepad.exe", u"", u""},
        {u"http://kelmarin.example/merkzeile", u"", u""},
        {u"\\ed.exe", u"", u""},
        {u"\\\\server\\share\\ed.exe", u"", u"\\\\server\\share\\"},
        {u"tools\\ed.exe", u"", u"tools\\"},
        {u"", u"", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(shellDirectory(c.target, c.directory), c.result) << c.target.size();
}

TEST(ProgramSearch, BareProgramName) {
    struct Case {
        std::u16string target, name;
    };
    const Case cases[] = {
        {u"Notepad.exe", u"Notepad.exe"},
        {u"notepad", u"notepad.exe"},
        {u"\"Notepad.exe\"", u"Notepad.exe"},
        {u"\"notepad\" -x", u"notepad.exe"},
        {u"setup.cmd", u"setup.cmd"},
        {u"C:\\Windows\\notepad.exe", u""},
        {u"tools\\ed.exe", u""},
        {u"tools/ed.exe", u""},
        {u"C:ed.exe", u""},
        {u"http://kelmarin.example/merkzeile", u""},
        {u"", u""},
        {u"\"\"", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(bareProgramName(c.target), c.name);
}

TEST(ProgramSearch, FoldersInOrderWithoutRelativeOnes) {
    const std::vector<std::u16string> folders = programSearchFolders(
        u"C:\\Apps\\Merkzeile", u"C:\\Windows\\system32", u"C:\\Windows",
        u"C:\\Tools;;.;bin;\"C:\\Program Files\\Ed\";\\rooted;..\\up;D:rel;\\\\srv\\share\\bin;E:/x;");
    const std::vector<std::u16string> expected = {
        u"C:\\Apps\\Merkzeile",   u"C:\\Windows\\system32", u"C:\\Windows", u"C:\\Tools",
        u"C:\\Program Files\\Ed", u"\\\\srv\\share\\bin",   u"E:/x"};
    EXPECT_EQ(folders, expected);
    EXPECT_EQ(programSearchFolders(u"", u"C:\\Windows\\system32", u"", u""),
              std::vector<std::u16string>{u"C:\\Windows\\system32"});
}

TEST(ProgramSearch, AbsoluteFolders) {
    EXPECT_TRUE(isAbsoluteFolder(u"C:\\"));
    EXPECT_TRUE(isAbsoluteFolder(u"z:/tmp"));
    EXPECT_TRUE(isAbsoluteFolder(u"\\\\server\\share"));
    EXPECT_FALSE(isAbsoluteFolder(u"C:"));
    EXPECT_FALSE(isAbsoluteFolder(u"C:tools"));
    EXPECT_FALSE(isAbsoluteFolder(u"\\tools"));
    EXPECT_FALSE(isAbsoluteFolder(u"."));
    EXPECT_FALSE(isAbsoluteFolder(u"1:\\x"));
    EXPECT_EQ(joinPath(u"C:\\Windows", u"notepad.exe"), u"C:\\Windows\\notepad.exe");
    EXPECT_EQ(joinPath(u"C:\\", u"notepad.exe"), u"C:\\notepad.exe");
}

TEST(ProgramSearch, NamesTheShellCouldRunFromTheCurrentFolder) {
    EXPECT_EQ(currentFolderProgramNames(u"Notepad.exe"), std::vector<std::u16string>{u"Notepad.exe"});
    EXPECT_EQ(currentFolderProgramNames(u"\"run.BAT\""), std::vector<std::u16string>{u"run.BAT"});
    const std::vector<std::u16string> bare = currentFolderProgramNames(u"notepad");
    EXPECT_NE(std::find(bare.begin(), bare.end(), u"notepad.exe"), bare.end());
    EXPECT_NE(std::find(bare.begin(), bare.end(), u"notepad.com"), bare.end());
    EXPECT_NE(std::find(bare.begin(), bare.end(), u"notepad.cmd"), bare.end());
    // Documents are opened by their own program, which is not looked for here.
    EXPECT_TRUE(currentFolderProgramNames(u"Merkzeile07.txt").empty());
    EXPECT_TRUE(currentFolderProgramNames(u"C:\\Windows\\notepad.exe").empty());
    EXPECT_TRUE(currentFolderProgramNames(u"http://kelmarin.example/").empty());
}

}  // namespace
}  // namespace mz
