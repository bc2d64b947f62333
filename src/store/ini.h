// The settings text as data: decoding, parsing into entries, the group and key rules, rendering back.
#pragma once
#include "platform/text.h"  // utf8FromUtf16
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

enum class IniEntryKind { Group, Comment, Key };

// A group keeps its name in name, a comment its text in name; only a key has a value. All UTF-8.
struct IniEntry {
    IniEntryKind kind = IniEntryKind::Key;
    std::string name;
    std::string value;

    bool operator==(const IniEntry& other) const {
        return kind == other.kind && name == other.name && value == other.value;
    }
};

using IniEntries = std::vector<IniEntry>;

inline constexpr std::size_t noEntry = static_cast<std::size_t>(-1);

// The file's bytes as UTF-8 text. utf8Mark: the file began with EF BB BF (which is left out of text), or its
// ISO-8859-1 bytes were converted; clear only for a file of zero bytes.
struct IniText {
    bool utf8Mark = false;
    std::string text;
};
IniText decodeIniBytes(const std::uint8_t* bytes, std::size_t n);

IniEntries parseIni(std::string_view text);
// One line per entry, each ended by CR LF; with the mark, EF BB BF CR LF comes first.
std::string renderIni(const IniEntries& entries, bool utf8Mark);

// Equal apart from the case of A-Z; every other byte must match.
bool sameName(std::string_view a, std::string_view b);

// The first group line of that name, or noEntry.
std::size_t findGroup(const IniEntries& entries, std::string_view name);
// Where the group's entries end: the next group line, or the end. group == noEntry means the keys above the
// first group line.
std::size_t groupEnd(const IniEntries& entries, std::size_t group);
// The first key of that name among the group's entries, or noEntry.
std::size_t findKey(const IniEntries& entries, std::size_t group, std::string_view key);

// The value as sscanf "%d" reads it, but saturating at the int32 limits; no number gives 0.
std::int32_t readIntegerValue(std::string_view value);
// As sprintf "%i".
std::string formatInteger(std::int32_t value);

// The entries with the current and the pending group: what selectGroup, readInteger and writeInteger act on.
struct IniDocument {
    IniEntries entries;
    std::size_t currentGroup = noEntry;
    bool groupPending = false;
    std::string pendingGroup;
};

bool selectDocumentGroup(IniDocument& document, std::string_view group);
std::int32_t readDocumentInteger(const IniDocument& document, std::string_view key,
                                 std::int32_t defaultValue);
void writeDocumentInteger(IniDocument& document, std::string_view key, std::int32_t value);

}  // namespace mz
