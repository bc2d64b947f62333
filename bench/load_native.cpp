// Loading benchmark, native: loadPhraseFiles on the twenty phrase files in the current directory against
// reading the same files whole with one read each (the floor) and against the floor plus widening each file
// into a string of its own (the least any loader of UTF-16 texts does, with fresh or with reused memory); and, to see where the time goes, the
// decoding of each file's bytes alone. Run by scripts/bench in the folder that bench/make_phrase_files.py fills.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/slots.h"
#include "store/phrases.h"

namespace {

std::string fileName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "Merkzeile%02d.txt", n);
    return name;
}

// Open, size, one read of the whole file into buffer (sized to the file, reused by the caller), close: what any
// loader must do at least. Returns the bytes read.
std::size_t readInto(const std::string& name, std::vector<std::uint8_t>& buffer) {
    const int fd = open(name.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    struct stat st;
    ssize_t got = 0;
    if (fstat(fd, &st) == 0) {
        buffer.resize(static_cast<std::size_t>(st.st_size));
        got = read(fd, buffer.data(), buffer.size());
    }
    close(fd);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::vector<std::uint8_t> readWhole(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    bytes.resize(readInto(name, bytes));
    return bytes;
}

std::int64_t totalBytes() {
    std::int64_t total = 0;
    for (int n = 1; n <= mz::SlotCount; ++n) total += static_cast<std::int64_t>(readWhole(fileName(n)).size());
    return total;
}

void LoadPhraseFiles(benchmark::State& state) {
    for (auto _ : state) {
        mz::loadPhraseFiles();
        benchmark::DoNotOptimize(mz::phraseSlot(20).fullText.data());
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

// The floor: each file read whole, in one read, into one reused buffer.
void ReadWholeFiles(benchmark::State& state) {
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        for (int n = 1; n <= mz::SlotCount; ++n) benchmark::DoNotOptimize(readInto(fileName(n), buffer));
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

// The floor plus the least a loader of UTF-16 texts must add: each file's bytes widened into a string of its
// own. Fresh: a new string each round, as a loader that hands each slot a new text has; kept: the strings of
// the previous round refilled, so that no fresh memory is touched (no loader can do better).
void readAndWiden(benchmark::State& state, bool fresh) {
    std::vector<std::uint8_t> buffer;
    std::u16string texts[mz::SlotCount];
    for (auto _ : state) {
        for (int n = 1; n <= mz::SlotCount; ++n) {
            const std::size_t got = readInto(fileName(n), buffer);
            std::u16string next;
            std::u16string& text = fresh ? next : texts[n - 1];
            text.assign(got, u'\0');
            char16_t* units = &text[0];
            for (std::size_t i = 0; i < text.size(); ++i) units[i] = buffer[i];
            benchmark::DoNotOptimize(text.data());
            if (fresh) texts[n - 1] = std::move(next);  // the previous round's string goes only now
        }
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}
void ReadAndWidenFresh(benchmark::State& state) { readAndWiden(state, true); }
void ReadAndWidenKept(benchmark::State& state) { readAndWiden(state, false); }

void DecodeOneFile(benchmark::State& state, int n) {
    const std::vector<std::uint8_t> bytes = readWhole(fileName(n));
    for (auto _ : state) {
        std::u16string text = mz::phraseFullText(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(text.data());
        std::u16string display = mz::makeDisplayText(text);
        benchmark::DoNotOptimize(display.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

}  // namespace

BENCHMARK(LoadPhraseFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadWholeFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadAndWidenFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadAndWidenKept)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    // The file's own description (bench/make_phrase_files.py writes it) names each decoding benchmark.
    std::FILE* index = std::fopen("index.txt", "r");
    char line[128];
    for (int n = 1; n <= mz::SlotCount && index && std::fgets(line, sizeof line, index); ++n) {
        std::string what(line);
        while (!what.empty() && (what.back() == '\n' || what.back() == '\r')) what.pop_back();
        benchmark::RegisterBenchmark(("Decode/" + what).c_str(), DecodeOneFile, n)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    if (index) std::fclose(index);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
