// Throughput of the data layer: stream descrambling, the DES block and a full
// scan of a dictionary section through ReadDictionaryRecord.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "data/des.h"
#include "data/descramble.h"
#include "data/dictionary.h"

namespace {

void BM_DescrambleStream(benchmark::State& state) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(state.range(0)), 0x5A);
    for (auto _ : state) {
        DescrambleStream(buffer.data(), buffer.size(), kVoiceFirstKeyIndex);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DescrambleStream)->Arg(2000)->Arg(64 << 10);

void BM_DesBlock(benchmark::State& state) {
    std::uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    DesSetKey(kStrokeOrderKey);
    for (auto _ : state) {
        DesBlock(block, kDesDecrypt);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DesBlock);

// One stroke-order record: key schedule and four blocks.
void BM_DesDecryptRecord(benchmark::State& state) {
    std::uint8_t record[32] = {};
    for (auto _ : state) {
        DesDecryptBuffer(record, kStrokeOrderKey, sizeof record);
        benchmark::DoNotOptimize(record);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DesDecryptRecord);

constexpr std::size_t kSectionBytes = 16u << 20;
const char* const kSectionPath = "bench_dictionary_section.dat";

// 16 MB of stored lines of 30 to 262 bytes, written once.
void WriteSection() {
    static bool written = false;
    if (written) return;
    std::mt19937 random(1);
    std::FILE* file = std::fopen(kSectionPath, "wb");
    if (!file) return;
    std::size_t total = 0;
    std::string stored, error;
    while (total < kSectionBytes) {
        std::string plain(30 + random() % 233, ' ');
        for (char& byte : plain) byte = static_cast<char>(0xA1 + random() % 94);
        if (ScrambleDictionaryLine(plain, stored, error)) {
            std::fwrite(stored.data(), 1, stored.size(), file);
            total += stored.size();
        }
    }
    std::fclose(file);
    written = true;
}

// Opens the section as the card and the phrase search do, then reads every line.
void BM_DictionaryScan(benchmark::State& state) {
    WriteSection();
    const auto bufferSize = static_cast<std::size_t>(state.range(0));
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::FILE* stream = std::fopen(kSectionPath, "rb");
        if (!stream) {
            state.SkipWithError("cannot open the section");
            return;
        }
        if (bufferSize > 0) std::setvbuf(stream, nullptr, _IOFBF, bufferSize);
        std::fseek(stream, 0, SEEK_SET);
        char line[kLineBufferSize];
        int records = 0;
        while (ReadDictionaryRecord(stream, line) == RecordStatus::Record) ++records;
        bytes += std::ftell(stream);
        std::fclose(stream);
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(bytes);
}
// 0: the stream's default buffer.
BENCHMARK(BM_DictionaryScan)->Arg(0)->Arg(64 << 10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
