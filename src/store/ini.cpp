// Parsing and rewriting of the settings text, and the group/key rules the settings store applies to it.
#include "store/ini.h"

#include "platform/text.h"

namespace mz {

IniText decodeIniBytes(const std::uint8_t* bytes, std::size_t n) {
    IniText result;
    if (n == 0) return result;
    result.utf8Mark = true;
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        result.text.assign(reinterpret_cast<const char*>(bytes) + 3, n - 3);
        return result;
    }
    result.text.reserve(n + n / 4);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t b = bytes[i];
        if (b < 0x80) {
            result.text += static_cast<char>(b);
        } else {
            result.text += static_cast<char>(0xC0 | (b >> 6));
            result.text += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return result;
}

static bool isBlank(char c) { return c == ' ' || c == '\t'; }
static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

static std::string_view trimTrailingBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

static std::string_view trimLeadingBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

static IniEntry parseLine(std::string_view line) {
    IniEntry entry;
    if (line.front() == ';') {
        line.remove_prefix(1);
        if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        entry.kind = IniEntryKind::Comment;
        entry.name = line;
    } else if (line.front() == '[') {
        line.remove_prefix(1);
        entry.kind = IniEntryKind::Group;
        entry.name = line.substr(0, line.find(']'));
    } else {
        std::size_t equals = line.find('=');
        entry.kind = IniEntryKind::Key;
        entry.name = trimTrailingBlanks(line.substr(0, equals));
        if (equals != std::string_view::npos) entry.value = trimLeadingBlanks(line.substr(equals + 1));
    }
    return entry;
}

IniEntries parseIni(std::string_view text) {
    IniEntries entries;
    std::size_t at = 0;
    const std::size_t n = text.size();
    while (at < n) {
        while (at < n && (isBlank(text[at]) || isLineEnd(text[at]))) ++at;
        if (at == n) break;
        std::size_t end = at;
        while (end < n && !isLineEnd(text[end])) ++end;
        entries.push_back(parseLine(text.substr(at, end - at)));
        at = end;
    }
    return entries;
}

std::string renderIni(const IniEntries& entries, bool utf8Mark) {
    std::string out;
    if (utf8Mark) out = "\xEF\xBB\xBF\r\n";
    for (const IniEntry& e : entries) {
        switch (e.kind) {
        case IniEntryKind::Group:
            out += '[';
            out += e.name;
            out += ']';
            break;
        case IniEntryKind::Comment:
            out += "; ";
            out += e.name;
            break;
        case IniEntryKind::Key:
            out += e.name;
            out += '=';
            out += e.value;
            break;
        }
        out += "\r\n";
    }
    return out;
}

static char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

std::size_t findGroup(const IniEntries& entries, std::string_view name) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].kind == IniEntryKind::Group && sameName(entries[i].name, name)) return i;
    }
    return noEntry;
}

static std::size_t groupStart(std::size_t group) { return group == noEntry ? 0 : group + 1; }

std::size_t groupEnd(const IniEntries& entries, std::size_t group) {
    for (std::size_t i = groupStart(group); i < entries.size(); ++i) {
        if (entries[i].kind == IniEntryKind::Group) return i;
    }
    return entries.size();
}

std::size_t findKey(const IniEntries& entries, std::size_t group, std::string_view key) {
    const std::size_t end = groupEnd(entries, group);
    for (std::size_t i = groupStart(group); i < end; ++i) {
        if (entries[i].kind == IniEntryKind::Key && sameName(entries[i].name, key)) return i;
    }
    return noEntry;
}

std::int32_t readIntegerValue(std::string_view value) {
    std::size_t i = 0;
    const std::size_t n = value.size();
    // The white space of the C locale's isspace, which "%d" skips.
    while (i < n && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < n && value[i] >= '0' && value[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (value[i] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// By hand rather than with snprintf, whose formatting code (floating point included) would weigh more in the
// exe than all of the settings code.
std::string formatInteger(std::int32_t value) {
    char text[12];
    char* at = text + sizeof text;
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        *--at = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--at = '-';
    return std::string(at, text + sizeof text);
}

bool selectDocumentGroup(IniDocument& document, std::string_view group) {
    std::size_t found = findGroup(document.entries, group);
    if (found == noEntry) {
        document.groupPending = true;
        document.pendingGroup = group;
        return false;
    }
    document.currentGroup = found;
    document.groupPending = false;
    document.pendingGroup.clear();
    return true;
}

std::int32_t readDocumentInteger(const IniDocument& document, std::string_view key,
                                 std::int32_t defaultValue) {
    if (document.groupPending) return defaultValue;
    std::size_t found = findKey(document.entries, document.currentGroup, key);
    return found == noEntry ? defaultValue : readIntegerValue(document.entries[found].value);
}

void writeDocumentInteger(IniDocument& document, std::string_view key, std::int32_t value) {
    if (document.groupPending) {
        document.entries.push_back(IniEntry{IniEntryKind::Group, document.pendingGroup, {}});
        document.currentGroup = document.entries.size() - 1;
        document.groupPending = false;
        document.pendingGroup.clear();
    }
    std::size_t found = findKey(document.entries, document.currentGroup, key);
    if (found != noEntry) {
        // The caller's spelling replaces a hand-edited one.
        document.entries[found].name = key;
        document.entries[found].value = formatInteger(value);
    } else {
        std::size_t at = groupEnd(document.entries, document.currentGroup);
        document.entries.insert(document.entries.begin() + static_cast<std::ptrdiff_t>(at),
                                IniEntry{IniEntryKind::Key, std::string(key), formatInteger(value)});
    }
}

}  // namespace mz
