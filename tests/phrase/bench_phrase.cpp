// The phrase search as "Get Phrases" runs it: open the lesson file, seek to
// the dictionary section, collect the words of a character, close. Worst
// case: the character has fewer than 100 words, so the scan reads the whole
// section. BM_SectionReadBaseline reads the same section and only finds its
// newlines: the least any scan of it costs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "phrase/phrase_search.h"
#include "tests/support/dictionary_lines.h"
#include "tests/support/section_read.h"

namespace {

using phrase_test::Line;

constexpr std::size_t kSectionBytes = 16u << 20;
constexpr int kTargetWords = 60;  // words of the searched character, spread over the section
const char* const kSyntheticPath = "bench_phrase_zw.dat";
const char kTarget[] = "\xB4\xF3";  // 大
// A character of the built data with fewer than 100 words of two or three characters.
const char kBuiltTarget[] = "\xC3\xA8";  // 猫

// A lesson file with a 16 MB dictionary section of lines shaped like the real
// ones: words of one to four characters, kTargetWords words of two or three
// characters of the target at even distances, and now and then a word of the
// target that is too long to qualify.
const std::string& SyntheticFile() {
    static const std::string path = [] {
        std::mt19937 random(7);
        std::FILE* file = std::fopen(kSyntheticPath, "wb");
        if (file == nullptr) return std::string();
        const std::vector<char> head(lesson_file::kDictionaryOffset, 0);
        std::fwrite(head.data(), 1, head.size(), file);
        auto hanzi = [&] {
            std::string c(2, ' ');
            do {
                c[0] = static_cast<char>(0xB0 + random() % 40);
                c[1] = static_cast<char>(0xA1 + random() % 94);
            } while (c == kTarget);
            return c;
        };
        std::size_t total = 0;
        std::size_t next = 0;
        int placed = 0;
        std::string stored, error;
        while (total < kSectionBytes) {
            const int characters = 1 + static_cast<int>(random() % 4);
            std::string word, pinyin;
            for (int k = 0; k < characters; ++k) {
                word += hanzi();
                pinyin +=
                    (k ? " " : "") + std::string("xi") + static_cast<char>('1' + random() % 4);
            }
            if (total >= next && placed < kTargetWords) {
                // A word of the target every kSectionBytes / kTargetWords bytes.
                word = kTarget + word.substr(0, characters > 2 ? 4 : 2);
                ++placed;
                next += kSectionBytes / kTargetWords;
            } else if (random() % 100 == 0) {
                // Four characters: looked at and rejected.
                word = kTarget + hanzi() + hanzi() + hanzi();
            }
            std::string meaning = "/";
            const std::size_t length = 8 + random() % 160;
            while (meaning.size() < length) meaning += static_cast<char>('a' + random() % 26);
            meaning += '/';
            if (ScrambleDictionaryLine(Line(word, pinyin, meaning), stored, error)) {
                std::fwrite(stored.data(), 1, stored.size(), file);
                total += stored.size();
            }
        }
        std::fclose(file);
        return std::string(kSyntheticPath);
    }();
    return path;
}

void Search(benchmark::State& state, const std::string& path, const char* character) {
    if (path.empty()) {
        state.SkipWithError("no lesson file");
        return;
    }
    int words = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::FILE* stream = std::fopen(path.c_str(), "rb");
        if (stream == nullptr) {
            state.SkipWithError("cannot open the lesson file");
            return;
        }
        std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET);
        words = CollectPhrases(stream, character);
        bytes += std::ftell(stream) - static_cast<long>(lesson_file::kDictionaryOffset);
        std::fclose(stream);
        benchmark::DoNotOptimize(PhraseWords);
    }
    state.SetBytesProcessed(bytes);
    state.counters["words"] = words;
    if (words >= kPhraseSlots) state.SkipWithError("the scan stopped at 100 words");
}

void BM_PhraseSearchSynthetic(benchmark::State& state) {
    Search(state, SyntheticFile(), kTarget);
}
BENCHMARK(BM_PhraseSearchSynthetic)->Unit(benchmark::kMillisecond);

bool BuiltFilePresent(benchmark::State& state) {
    std::FILE* probe = std::fopen(BUILT_LESSON_FILE, "rb");
    if (probe == nullptr) {
        state.SkipWithError("built lesson file missing");
        return false;
    }
    std::fclose(probe);
    return true;
}

void BM_PhraseSearchBuiltData(benchmark::State& state) {
    if (BuiltFilePresent(state)) Search(state, BUILT_LESSON_FILE, kBuiltTarget);
}
BENCHMARK(BM_PhraseSearchBuiltData)->Unit(benchmark::kMillisecond);

// What any scan must do at least: open, seek, read the whole section in 64 KiB
// blocks and find every newline.
void BM_SectionReadBaseline(benchmark::State& state) {
    if (!BuiltFilePresent(state)) return;
    SectionRead read;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        if (!ReadDictionarySection(BUILT_LESSON_FILE, read)) break;
        bytes += read.bytes;
        benchmark::DoNotOptimize(read.lines);
    }
    state.SetBytesProcessed(bytes);
    state.counters["lines"] = static_cast<double>(read.lines);
}
BENCHMARK(BM_SectionReadBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
