// The settings text rules without files: parsing, rendering, names, numbers and the group/key operations.
#include <gtest/gtest.h>

#include "store/ini.h"

namespace mz {
namespace {

IniEntry group(const std::string& name) { return {IniEntryKind::Group, name, {}}; }
IniEntry comment(const std::string& text) { return {IniEntryKind::Comment, text, {}}; }
IniEntry key(const std::string& name, const std::string& value) { return {IniEntryKind::Key, name, value}; }

std::string describe(const IniEntries& entries) {
    std::string out;
    for (const IniEntry& e : entries) {
        out += e.kind == IniEntryKind::Group ? "G[" : e.kind == IniEntryKind::Comment ? "C[" : "K[";
        out += e.name + "|" + e.value + "] ";
    }
    return out;
}

TEST(IniParse, Lines) {
    struct Case {
        std::string text;
        IniEntries entries;
    };
    const Case cases[] = {
        {"", {}},
        {" \t\r\n\r\n  \n\t", {}},
        {"[Fensterstatus]\r\nWindowState=1\r\n", {group("Fensterstatus"), key("WindowState", "1")}},
        {"  \twindowposx = 250\r\n", {key("windowposx", "250")}},
        {"k\t=\t v \t", {key("k", "v \t")}},
        {"a==b", {key("a", "=b")}},
        {"=v", {key("", "v")}},
        {"Flag\r\nNext=1", {key("Flag", ""), key("Next", "1")}},
        {"Flag  \n", {key("Flag", "")}},
        {"#notiz\r\n# a=b", {key("#notiz", ""), key("# a", "b")}},
        {";kommentar", {comment("kommentar")}},
        {"; kommentar", {comment("kommentar")}},
        {";  zwei", {comment(" zwei")}},
        {";\tTab", {comment("\tTab")}},
        {";", {comment("")}},
        {"   ; eingerueckt", {comment("eingerueckt")}},
        {"[ Fensterkoordinaten ]", {group(" Fensterkoordinaten ")}},
        {"[Fensterstatus]   nachsatz ]", {group("Fensterstatus")}},
        {"[offen", {group("offen")}},
        {"[]", {group("")}},
        {"[a=b]", {group("a=b")}},
        {"a=[b]\r;c", {key("a", "[b]"), comment("c")}},
        {"x=1\ry=2\n\rz=3", {key("x", "1"), key("y", "2"), key("z", "3")}},
        {std::string("n\0m=v\0w", 7), {key(std::string("n\0m", 3), std::string("v\0w", 3))}},
    };
    for (const Case& c : cases) EXPECT_EQ(describe(parseIni(c.text)), describe(c.entries)) << c.text;
}

TEST(IniRender, EveryEntryEndsWithCrLfAndTheMarkLineComesFirst) {
    const IniEntries entries = {comment(""), group("G"), key("a", ""), key("", "v"), comment(" x")};
    EXPECT_EQ(renderIni(entries, false), "; \r\n[G]\r\na=\r\n=v\r\n;  x\r\n");
    EXPECT_EQ(renderIni(entries, true), "\xEF\xBB\xBF\r\n; \r\n[G]\r\na=\r\n=v\r\n;  x\r\n");
    EXPECT_EQ(renderIni({}, true), "\xEF\xBB\xBF\r\n");
    EXPECT_EQ(renderIni({}, false), "");
}

TEST(IniDecode, MarkAndIso88591) {
    struct Case {
        std::string bytes;
        bool mark;
        std::string text;
    };
    const Case cases[] = {
        {"", false, ""},
        {"a", true, "a"},
        {"\xEF\xBB\xBF", true, ""},
        {"\xEF\xBB\xBF; K\xC3\xA4se", true, "; K\xC3\xA4se"},
        {"\xEF\xBB", true, "\xC3\xAF\xC2\xBB"},
        {"; K\xE4se \xFF\x80\x7F", true, "; K\xC3\xA4se \xC3\xBF\xC2\x80\x7F"},
        {"\xBF\xBB\xEF", true, "\xC2\xBF\xC2\xBB\xC3\xAF"},
    };
    for (const Case& c : cases) {
        IniText t = decodeIniBytes(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size());
        EXPECT_EQ(t.utf8Mark, c.mark) << c.bytes;
        EXPECT_EQ(t.text, c.text) << c.bytes;
    }
}

TEST(IniNames, OnlyAsciiLettersIgnoreCase) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"WindowPosX", "windowposx", true},
        {"FENSTERSTATUS", "Fensterstatus", true},
        {"Fensterstatus", "Fensterstatus ", false},
        {" Fensterstatus", "Fensterstatus", false},
        {"[", "{", false},   // differ only in bit 0x20, like a letter's case
        {"@", "`", false},
        {"_", "\x7F", false},
        {"\xC3\xA4", "\xC3\x84", false},  // ä and Ä
        {"", "", true},
        {"a", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sameName(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(sameName(c.b, c.a), c.same) << c.b << " / " << c.a;
    }
}

TEST(IniNumbers, ReadLikeScanfDecimalWithSaturation) {
    struct Case {
        std::string value;
        std::int32_t number;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"250", 250},
        {"  -20px", -20},
        {"0x10", 0},
        {"\t\v\f\r\n 5", 5},
        {"+7", 7},
        {"007", 7},
        {"-0", 0},
        {"-", 0},
        {"+", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"12 34", 12},
        {"1e3", 1},
        {std::string("\0" "5", 2), 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -2147483647 - 1},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"000000000000000000000000000042", 42},
        {"123456789012345678901234567890", 2147483647},
        {"-123456789012345678901234567890", -2147483647 - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(readIntegerValue(c.value), c.number) << "'" << c.value << "'";
}

TEST(IniNumbers, WrittenLikePrintfI) {
    EXPECT_EQ(formatInteger(0), "0");
    EXPECT_EQ(formatInteger(250), "250");
    EXPECT_EQ(formatInteger(-20), "-20");
    EXPECT_EQ(formatInteger(2147483647), "2147483647");
    EXPECT_EQ(formatInteger(-2147483647 - 1), "-2147483648");
}

TEST(IniText, Utf16ToUtf8) {
    EXPECT_EQ(utf8FromUtf16(u"WindowPosX"), "WindowPosX");
    EXPECT_EQ(utf8FromUtf16(u"K\u00e4se\u20ac"), "K\xC3\xA4se\xE2\x82\xAC");
    EXPECT_EQ(utf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8FromUtf16(std::u16string{u'a', 0xD800, u'b'}), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(utf8FromUtf16(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

IniDocument documentOf(const std::string& text) {
    IniDocument d;
    d.entries = parseIni(text);
    return d;
}

TEST(IniDocumentOps, FirstMatchWinsForGroupsAndKeys) {
    IniDocument d = documentOf(
        "[fensterstatus]\nWindowState=1\nwindowstate=2\n[Fensterstatus]\nWindowState=3\n");
    EXPECT_TRUE(selectDocumentGroup(d, "Fensterstatus"));
    EXPECT_EQ(d.currentGroup, 0u);
    EXPECT_EQ(readDocumentInteger(d, "WindowState", 9), 1);
    writeDocumentInteger(d, "WINDOWSTATE", 5);
    EXPECT_EQ(renderIni(d.entries, false),
              "[fensterstatus]\r\nWINDOWSTATE=5\r\nwindowstate=2\r\n[Fensterstatus]\r\nWindowState=3\r\n");
}

TEST(IniDocumentOps, PendingGroupGivesDefaultsAndIsAppendedOnWrite) {
    IniDocument d = documentOf("[A]\nx=1\n[B]\ny=2\n");
    EXPECT_TRUE(selectDocumentGroup(d, "A"));
    EXPECT_FALSE(selectDocumentGroup(d, "C"));
    // The earlier current group does not count while a group is pending.
    EXPECT_EQ(readDocumentInteger(d, "x", 7), 7);
    EXPECT_FALSE(selectDocumentGroup(d, "D"));
    writeDocumentInteger(d, "z", 3);
    EXPECT_FALSE(d.groupPending);
    EXPECT_EQ(readDocumentInteger(d, "z", 0), 3);
    EXPECT_TRUE(selectDocumentGroup(d, "a"));
    writeDocumentInteger(d, "w", 4);
    EXPECT_EQ(renderIni(d.entries, false), "[A]\r\nx=1\r\nw=4\r\n[B]\r\ny=2\r\n[D]\r\nz=3\r\n");
}

TEST(IniDocumentOps, NoCurrentGroupMeansTheKeysAboveTheFirstGroup) {
    IniDocument d = documentOf("top=4\n; c\n[G]\ntop=5\n");
    EXPECT_EQ(readDocumentInteger(d, "top", 0), 4);
    writeDocumentInteger(d, "new", 1);
    EXPECT_EQ(renderIni(d.entries, false), "top=4\r\n; c\r\nnew=1\r\n[G]\r\ntop=5\r\n");
}

}  // namespace
}  // namespace mz
