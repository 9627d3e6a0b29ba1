// The dictionary section on arbitrary streams: ReadDictionaryRecord line by
// line from a memory stream, the column rules on every record into buffers of
// exactly their documented sizes, and MeaningForDisplay; DescrambleLine on the
// raw bytes.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "data/dictionary.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kMeaningMinimum = 176;  // RecordMeaning's documented minimum

void CheckRecord(const char (&line)[kLineBufferSize]) {
    const std::size_t length = strnlen(line, kLineBufferSize);
    FUZZ_CHECK(length < kLineBufferSize);

    char word[kWordBufferSize];
    RecordWord(line, word);
    const std::size_t wordLength = strnlen(word, kWordBufferSize);
    FUZZ_CHECK(wordLength < kWordBufferSize && wordLength <= length);
    FUZZ_CHECK(std::memchr(word, ' ', wordLength) == nullptr);

    auto pinyin = std::make_unique<char[]>(kPinyinBufferSize);
    RecordPinyin(line, pinyin.get());
    const std::size_t pinyinLength = strnlen(pinyin.get(), kPinyinBufferSize);
    FUZZ_CHECK(pinyinLength < kPinyinBufferSize);
    FUZZ_CHECK(std::memchr(pinyin.get(), ']', pinyinLength) == nullptr);
    if (pinyinLength > 0) FUZZ_CHECK(std::memcmp(pinyin.get(), line + 25, pinyinLength) == 0);

    auto meaning = std::make_unique<char[]>(kMeaningMinimum);
    RecordMeaning(line, meaning.get());
    const std::size_t meaningLength = strnlen(meaning.get(), kMeaningMinimum);
    FUZZ_CHECK(meaningLength < kMeaningMinimum);
    if (meaningLength > 0) FUZZ_CHECK(std::memcmp(meaning.get(), line + 89, meaningLength) == 0);

    char display[kDisplayBufferSize];
    MeaningForDisplay(meaning.get(), display);
    const std::size_t displayLength = strnlen(display, kDisplayBufferSize);
    FUZZ_CHECK(displayLength < kDisplayBufferSize);
    FUZZ_CHECK(std::memchr(display, '/', displayLength) == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // fmemopen refuses an empty buffer; the reader takes the null stream as the end.
    std::vector<std::uint8_t> bytes(data, data + size);
    std::FILE* stream = size > 0 ? fmemopen(bytes.data(), size, "rb") : nullptr;
    char line[kLineBufferSize];
    std::memset(line, 'x', sizeof line);
    std::size_t records = 0;
    while (ReadDictionaryRecord(stream, line) == RecordStatus::Record) {
        CheckRecord(line);
        ++records;
        FUZZ_CHECK(records <= size);  // every record consumes at least one byte
    }
    if (stream) std::fclose(stream);

    // MeaningForDisplay straight on the input as a meaning text.
    auto text = std::make_unique<char[]>(size + 1);
    std::memcpy(text.get(), data, size);
    text[size] = 0;
    char display[kDisplayBufferSize];
    MeaningForDisplay(text.get(), display);
    FUZZ_CHECK(strnlen(display, kDisplayBufferSize) < kDisplayBufferSize);

    // Line descrambling on exactly the bytes given.
    auto raw = std::make_unique<std::uint8_t[]>(size);
    if (size > 0) std::memcpy(raw.get(), data, size);
    DescrambleLine(raw.get(), size);
    return 0;
}
