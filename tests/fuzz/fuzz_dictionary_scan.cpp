// The block scan of the card and the phrase search (DictionaryLines,
// NextLineOf, RecordFromStored) against ReadDictionaryRecord line by line over
// the same bytes: the same lines, records and fields, the same matching lines
// and heads for a character, and the stream left where the line-by-line read
// would have left it.
//
// Input: byte 0 puts filler lines in front so that the end of the first
// (4096) or second (12288) read falls into the rest: 0 none, 1-127 the first
// read ends 32 * (n - 1) bytes into the rest, 128-255 the second read ends
// 32 * (n - 128) bytes into it. Byte 1: how many matching lines a scan takes
// before it stops (0: all). Bytes 2-3: a character (a zero or a blank gets
// its high bit set). The rest: the section's bytes.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "data/dictionary.h"
#include "data/scramble_key.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// A line as ReadDictionaryRecord read it.
struct ReadLine {
    std::string stored;                        // the bytes it consumed
    std::array<char, kLineBufferSize> record;  // the line buffer after the read
    long end;                                  // stream position behind it
};

struct Stream {
    explicit Stream(std::vector<std::uint8_t>& bytes)
        : file(bytes.empty() ? nullptr : fmemopen(bytes.data(), bytes.size(), "rb")) {}
    ~Stream() {
        if (file) std::fclose(file);
    }
    std::FILE* file;
};

std::vector<std::uint8_t> Section(const std::uint8_t* data, std::size_t size) {
    std::size_t filler = 0;
    if (data[0] >= 128) {
        filler = 12288 - 32 * static_cast<std::size_t>(data[0] - 128);
    } else if (data[0] > 0) {
        filler = 4096 - 32 * static_cast<std::size_t>(data[0] - 1);
    }
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < filler) {
        const std::size_t line = std::min<std::size_t>(100, filler - bytes.size());
        bytes.insert(bytes.end(), line - 1, 'f');
        bytes.push_back('\n');
    }
    bytes.insert(bytes.end(), data + 4, data + size);
    return bytes;
}

// The lines of the section by ReadDictionaryRecord, each record checked
// against line descrambling worked out from the key.
std::vector<ReadLine> LinesOneByOne(std::vector<std::uint8_t>& bytes, long& endPosition) {
    Stream stream(bytes);
    std::vector<ReadLine> lines;
    ReadLine line;
    std::memset(line.record.data(), 'x', kLineBufferSize);
    char(&buffer)[kLineBufferSize] =
        *reinterpret_cast<char(*)[kLineBufferSize]>(line.record.data());
    long position = 0;
    while (ReadDictionaryRecord(stream.file, buffer) == RecordStatus::Record) {
        line.end = std::ftell(stream.file);
        FUZZ_CHECK(line.end > position && line.end - position <= 263);
        line.stored.assign(bytes.begin() + position, bytes.begin() + line.end);
        position = line.end;
        const std::size_t newline = line.stored.find('\n');
        FUZZ_CHECK(newline == line.stored.size() - 1 ||
                   (newline == std::string::npos && line.stored.size() == 263));
        const std::size_t content = std::min(newline, line.stored.size());
        for (std::size_t j = 0; j < content; ++j) {
            FUZZ_CHECK(static_cast<std::uint8_t>(line.record[j]) ==
                       static_cast<std::uint8_t>(static_cast<std::uint8_t>(line.stored[j]) +
                                                 static_cast<std::uint8_t>(ScrambleKey[j])));
        }
        for (std::size_t j = content; j < 264; ++j) FUZZ_CHECK(line.record[j] == 0);
        lines.push_back(line);
    }
    endPosition = stream.file ? std::ftell(stream.file) : 0;
    return lines;
}

std::string Word(const char* record) {
    char word[kWordBufferSize];
    RecordWord(record, word);
    return word;
}

void CheckSameFields(const char* record, const char* expected) {
    FUZZ_CHECK(Word(record) == Word(expected));
    char pinyin[kPinyinBufferSize], expectedPinyin[kPinyinBufferSize];
    RecordPinyin(record, pinyin);
    RecordPinyin(expected, expectedPinyin);
    FUZZ_CHECK(std::strcmp(pinyin, expectedPinyin) == 0);
    char meaning[kLineBufferSize], expectedMeaning[kLineBufferSize];
    RecordMeaning(record, meaning);
    RecordMeaning(expected, expectedMeaning);
    FUZZ_CHECK(std::strcmp(meaning, expectedMeaning) == 0);
}

// Every line of the block scan, its record made in a buffer that holds the
// record before it.
void CheckAllLines(std::vector<std::uint8_t>& bytes, const std::vector<ReadLine>& expected) {
    Stream stream(bytes);
    DictionaryLines lines(stream.file);
    std::span<const std::uint8_t> stored;
    char record[kLineBufferSize];
    std::memset(record, 'x', sizeof record);
    std::size_t i = 0;
    while (lines.Next(stored)) {
        FUZZ_CHECK(i < expected.size());
        const ReadLine& line = expected[i++];
        FUZZ_CHECK(stored.size() == line.stored.size() &&
                   std::memcmp(stored.data(), line.stored.data(), stored.size()) == 0);
        RecordFromStored(stored, record);
        FUZZ_CHECK(std::memcmp(record, line.record.data(), 264) == 0);
        CheckSameFields(record, line.record.data());
    }
    FUZZ_CHECK(i == expected.size());
}

// NextLineOf for character over a fresh stream, stopping after stopAfter
// matches (0: at the end); then the stream goes on where the line-by-line
// read would.
void CheckScan(std::vector<std::uint8_t>& bytes, const std::vector<ReadLine>& expected,
               long endPosition, const char* character, int stopAfter) {
    // The lines that hold the character's two bytes at their start.
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ReadLine& line = expected[i];
        const std::size_t content = std::min(line.stored.find('\n'), line.stored.size());
        if (content >= 2 && line.record[0] == character[0] && line.record[1] == character[1])
            matches.push_back(i);
    }

    Stream stream(bytes);
    std::size_t found = 0;
    bool ended = false;
    {
        DictionaryLines lines(stream.file);
        std::span<const std::uint8_t> stored;
        char head[kWordHead + 1];
        while (stopAfter == 0 || found < static_cast<std::size_t>(stopAfter)) {
            if (!NextLineOf(lines, character, stored, head)) {
                ended = true;
                break;
            }
            FUZZ_CHECK(found < matches.size());
            const ReadLine& line = expected[matches[found++]];
            FUZZ_CHECK(stored.size() == line.stored.size() &&
                       std::memcmp(stored.data(), line.stored.data(), stored.size()) == 0);
            // The head is the word cut after 7 bytes; the card takes a word
            // of the character alone, the phrase search one of 3 to 6 bytes.
            const std::string word = Word(line.record.data());
            FUZZ_CHECK(word.substr(0, kWordHead) == head);
            FUZZ_CHECK((head[2] == '\0') == (word.size() == 2));
            FUZZ_CHECK(QualifiesAsPhrase(head, character) ==
                       (word.size() >= 3 && word.size() <= 6));
        }
    }
    if (stream.file == nullptr) return;
    char record[kLineBufferSize];
    if (ended) {
        FUZZ_CHECK(found == matches.size());
        FUZZ_CHECK(std::ftell(stream.file) == endPosition);
        FUZZ_CHECK(ReadDictionaryRecord(stream.file, record) == RecordStatus::EndOfFile);
        return;
    }
    const std::size_t last = matches[found - 1];
    FUZZ_CHECK(std::ftell(stream.file) == expected[last].end);
    if (last + 1 < expected.size()) {
        FUZZ_CHECK(ReadDictionaryRecord(stream.file, record) == RecordStatus::Record);
        FUZZ_CHECK(std::memcmp(record, expected[last + 1].record.data(), 264) == 0);
    } else {
        FUZZ_CHECK(ReadDictionaryRecord(stream.file, record) == RecordStatus::EndOfFile);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::vector<std::uint8_t> bytes = Section(data, size);
    long endPosition = 0;
    const std::vector<ReadLine> expected = LinesOneByOne(bytes, endPosition);
    CheckAllLines(bytes, expected);

    const int stopAfter = data[1];
    // A zero or a blank would end the word inside the character.
    const auto byte = [](std::uint8_t b) {
        return static_cast<char>(b == 0 || b == ' ' ? b | 0x80 : b);
    };
    const char own[] = {byte(data[2]), byte(data[3]), 0};
    CheckScan(bytes, expected, endPosition, own, stopAfter);
    // The lesson's characters: 大 家 学 中 文.
    for (const char* character : {"\xB4\xF3", "\xBC\xD2", "\xD1\xA7", "\xD6\xD0", "\xCE\xC4"})
        CheckScan(bytes, expected, endPosition, character, stopAfter);
    return 0;
}
