// Fuzz target for the settings text: any bytes parse, render and parse again to the same entries, render the
// same bytes twice, read numbers like strtoll clamped to int32, and give back what was written.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/ini.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

std::int32_t referenceInteger(const std::string& value) {
    std::string terminated(value.c_str());
    long long n = std::strtoll(terminated.c_str(), nullptr, 10);
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(n);
}

mz::IniText decode(const std::string& bytes) {
    return mz::decodeIniBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void checkRoundTrip(const std::string& text, bool utf8Mark) {
    const mz::IniEntries first = mz::parseIni(text);
    const std::string rendered = mz::renderIni(first, utf8Mark);
    const mz::IniText again = decode(rendered);
    check(again.utf8Mark == utf8Mark, "the mark survives a rewrite");
    const mz::IniEntries second = mz::parseIni(again.text);
    check(second == first, "parse -> render -> parse gives the same entries");
    check(mz::renderIni(second, utf8Mark) == rendered, "a second render is byte-identical");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The path of a real file: mark detection and ISO-8859-1 conversion first.
    const mz::IniText decoded = mz::decodeIniBytes(data, size);
    check(decoded.utf8Mark == (size != 0), "only a zero-byte file is mark-free");
    checkRoundTrip(decoded.text, decoded.utf8Mark);
    // And the raw bytes taken as text, stray EF BB BF and invalid UTF-8 included.
    checkRoundTrip(bytes, true);

    check(mz::readIntegerValue(bytes) == referenceInteger(bytes), "number of the whole input");
    mz::IniDocument document;
    document.entries = mz::parseIni(decoded.text);
    for (const mz::IniEntry& e : document.entries) {
        if (e.kind == mz::IniEntryKind::Key)
            check(mz::readIntegerValue(e.value) == referenceInteger(e.value), "key value");
    }

    // A write is read back, also after a rewrite, and adds at most a group and a key.
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + (size >= 4 ? size - 4 : 0), size >= 4 ? 4 : 0);
    const std::size_t before = document.entries.size();
    mz::selectDocumentGroup(document, "Fensterkoordinaten");
    mz::writeDocumentInteger(document, "WindowPosX", value);
    check(mz::readDocumentInteger(document, "WindowPosX", 0) == value, "written value reads back");
    check(document.entries.size() <= before + 2, "a write adds at most a group and a key");
    mz::IniDocument reread;
    reread.entries = mz::parseIni(decode(mz::renderIni(document.entries, true)).text);
    check(mz::selectDocumentGroup(reread, "fensterKOORDINATEN"), "the group exists after a write");
    check(mz::readDocumentInteger(reread, "windowposx", 0) == value, "written value survives a rewrite");
    return 0;
}
