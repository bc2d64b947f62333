// Loading benchmark, native: loadPhraseFiles on the twenty phrase files in the current directory against
// reading the same files whole with one read each (the floor); and, to see where the time goes, the decoding
// of each file's bytes alone. Run by scripts/bench in the folder that bench/make_phrase_files.py fills.
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

std::vector<std::uint8_t> readWhole(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    const int fd = open(name.c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0) return bytes;
    if (fstat(fd, &st) == 0) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        const ssize_t got = read(fd, bytes.data(), bytes.size());
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    close(fd);
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

// Open, size, one read of the whole file into a buffer of its size, close: what any loader must do at least.
void ReadWholeFiles(benchmark::State& state) {
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        for (int n = 1; n <= mz::SlotCount; ++n) {
            const int fd = open(fileName(n).c_str(), O_RDONLY);
            struct stat st;
            fstat(fd, &st);
            buffer.resize(static_cast<std::size_t>(st.st_size));
            benchmark::DoNotOptimize(read(fd, buffer.data(), buffer.size()));
            close(fd);
        }
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

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
