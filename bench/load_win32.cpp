// Loading benchmark, Windows (run under Wine): loadPhraseFiles on the twenty phrase files in the current
// directory against reading the same files whole with one ReadFile each (the floor) and against the floor plus
// widening each file into a string of its own (the least any loader of UTF-16 texts does, with fresh or with
// reused memory), taken in turns.
// Usage: load_bench <repetitions> [case]. Prints per repetition "load <name> <bytes per second>".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/slots.h"
#include "clock_win32.h"
#include "store/phrases.h"

namespace {

double seconds() { return clockMs() / 1000.0; }

void fileName(int n, wchar_t (&name)[32]) { swprintf(name, 32, L"Merkzeile%02d.txt", n); }

std::vector<BYTE> buffer;

// CreateFileW with the loader's own access (reading, no sharing), the size, one ReadFile into buffer, CloseHandle.
bool readWholeFile(int n, DWORD& got) {
    wchar_t name[32];
    fileName(n, name);
    HANDLE file = CreateFileW(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    buffer.resize(static_cast<std::size_t>(size.QuadPart));
    ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
    CloseHandle(file);
    return true;
}

long long readWholeFiles() {
    long long total = 0;
    for (int n = 1; n <= mz::SlotCount; ++n) {
        DWORD got = 0;
        if (!readWholeFile(n, got)) continue;
        total += got;
    }
    return total;
}

// The floor plus the least a loader of UTF-16 texts must add: each file's bytes widened into a string of its
// own. Fresh: a new string each round, as a loader that hands each slot a new text has; kept: the strings of
// the previous round refilled, so that no fresh memory is touched (no loader can do better).
std::u16string texts[mz::SlotCount];
bool freshTexts = false;
long long readAndWiden() {
    long long total = 0;
    for (int n = 1; n <= mz::SlotCount; ++n) {
        DWORD got = 0;
        if (!readWholeFile(n, got)) continue;
        std::u16string fresh;
        std::u16string& text = freshTexts ? fresh : texts[n - 1];
        text.assign(got, u'\0');
        char16_t* units = &text[0];
        for (DWORD i = 0; i < got; ++i) units[i] = buffer[i];
        if (freshTexts) texts[n - 1] = std::move(fresh);  // the previous round's string goes only now
        total += got;
    }
    return total;
}
long long readAndWidenFresh() {
    freshTexts = true;
    return readAndWiden();
}
long long readAndWidenKept() {
    freshTexts = false;
    return readAndWiden();
}

long long loadAll() {
    mz::loadPhraseFiles();
    return 0;
}

// Runs op until at least a quarter of a second has passed; bytes per second.
double rate(long long (*op)(), long long bytesPerCall) {
    const double start = seconds();
    long long calls = 0;
    double elapsed = 0;
    do {
        op();
        ++calls;
        elapsed = seconds() - start;
    } while (elapsed < 0.25);
    return static_cast<double>(bytesPerCall) * static_cast<double>(calls) / elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repetitions = argc > 1 ? _wtoi(argv[1]) : 10;
    const long long total = readWholeFiles();
    if (total == 0) {
        std::fprintf(stderr, "no phrase files in the current directory\n");
        return 1;
    }
    loadAll();
    long long text = 0;
    for (int n = 1; n <= mz::SlotCount; ++n) text += static_cast<long long>(mz::phraseSlot(n).fullText.size());
    if (text == 0) {
        std::fprintf(stderr, "loadPhraseFiles read nothing\n");
        return 1;
    }
    struct Case {
        const wchar_t* name;
        long long (*op)();
    };
    const Case cases[] = {{L"ReadWholeFiles", readWholeFiles},
                          {L"ReadAndWidenFresh", readAndWidenFresh},
                          {L"ReadAndWidenKept", readAndWidenKept},
                          {L"LoadPhraseFiles", loadAll}};
    const wchar_t* only = argc > 2 ? argv[2] : nullptr;  // one case alone, for a profiler
    for (int r = 0; r < repetitions; ++r) {
        for (const Case& c : cases) {
            if (only && wcscmp(only, c.name) != 0) continue;
            std::printf("load %ls %.0f\n", c.name, rate(c.op, total));
        }
        std::fflush(stdout);
    }
    return 0;
}
