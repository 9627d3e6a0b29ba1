#include "data/dictionary.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "data/scramble_key.h"

namespace {

constexpr int kWordColumns = 24;
constexpr int kPinyinColumn = 25;
constexpr int kPinyinEnd = 88;
constexpr int kMeaningColumn = 89;
constexpr int kMeaningEnd = 264;
constexpr int kMeaningDisplayEnd = 174;
constexpr int kDisplayMax = kDisplayBufferSize - 1;

// Low byte of key[j]: what line descrambling adds at column j.
const std::array<std::uint8_t, kLineBufferSize>& LineKey() {
    static const std::array<std::uint8_t, kLineBufferSize> key = [] {
        std::array<std::uint8_t, kLineBufferSize> bytes{};
        for (int j = 0; j < kLineBufferSize; ++j)
            bytes[j] = static_cast<std::uint8_t>(ScrambleKey[j]);
        return bytes;
    }();
    return key;
}

// Descrambles count stored bytes from in to out (which may be the same buffer)
// up to the first newline; returns the column where descrambling stopped.
std::size_t DescrambleInto(const std::uint8_t* in, std::uint8_t* out, std::size_t count) {
    const void* newline = std::memchr(in, '\n', count);
    const std::size_t end =
        newline ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(newline) - in) : count;
    const auto& key = LineKey();
    for (std::size_t j = 0; j < end; ++j) out[j] = static_cast<std::uint8_t>(in[j] + key[j]);
    return end;
}

// True when columns 0 .. column-1 hold no terminating zero, i.e. the record
// reaches column.
bool Reaches(const char* line, int column) {
    return std::memchr(line, 0, static_cast<std::size_t>(column)) == nullptr;
}

}  // namespace

void DescrambleLine(std::uint8_t* line, std::size_t length) {
    const std::size_t count = std::min(length, static_cast<std::size_t>(kLineBufferSize));
    const std::size_t end = DescrambleInto(line, line, count);
    if (end < count) line[end] = 0;
}

RecordStatus ReadDictionaryRecord(std::FILE* stream, char (&line)[kLineBufferSize]) {
    // Read into a scratch buffer first so that line stays unchanged at the end.
    char read[kLineBufferSize];
    if (stream == nullptr || std::fgets(read, kLineReadLimit, stream) == nullptr ||
        std::feof(stream) || std::ferror(stream)) {
        return RecordStatus::EndOfFile;
    }
    // fgets stops after a newline, so the first newline is the last byte read;
    // without one, the limit was reached. Zero bytes read are data, hence no strlen.
    constexpr auto kMaxRead = static_cast<std::size_t>(kLineReadLimit - 1);
    const void* newline = std::memchr(read, '\n', kMaxRead);
    const std::size_t count =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - read) + 1 : kMaxRead;
    const std::size_t end = DescrambleInto(reinterpret_cast<const std::uint8_t*>(read),
                                           reinterpret_cast<std::uint8_t*>(line), count);
    line[end] = 0;
    return RecordStatus::Record;
}

void RecordWord(const char* line, char (&word)[kWordBufferSize]) {
    int i = 0;
    for (; i < kWordColumns && line[i] != ' ' && line[i] != 0; ++i) word[i] = line[i];
    word[i] = 0;
}

void RecordPinyin(const char* line, char* pinyin) {
    int n = 0;
    if (Reaches(line, kPinyinColumn)) {
        for (int j = kPinyinColumn; j < kPinyinEnd && line[j] != ']' && line[j] != 0; ++j) {
            pinyin[n++] = line[j];
        }
    }
    pinyin[n] = 0;
}

void RecordMeaning(const char* line, char* meaning) {
    int n = 0;
    if (Reaches(line, kMeaningColumn)) {
        for (int j = kMeaningColumn; j < kMeaningEnd && line[j] != 0; ++j) meaning[n++] = line[j];
    }
    meaning[n] = 0;
}

void MeaningForDisplay(const char* meaning, char (&display)[kDisplayBufferSize]) {
    int n = 0;
    if (meaning[0] != 0) {
        for (int l = 1; l < kMeaningDisplayEnd && meaning[l] != 0; ++l) {
            if (meaning[l] == '/') {
                if (n + 2 > kDisplayMax) break;
                display[n++] = ';';
                display[n++] = ' ';
            } else {
                if (n + 1 > kDisplayMax) break;
                display[n++] = meaning[l];
            }
        }
    }
    display[n] = 0;
}

bool ScrambleDictionaryLine(const std::string& plain, std::string& stored, std::string& error) {
    if (plain.size() > static_cast<std::size_t>(kMaxStoredLine)) {
        error = "dictionary line of " + std::to_string(plain.size()) + " bytes is longer than " +
                std::to_string(kMaxStoredLine) + " bytes: " + plain.substr(0, 24);
        return false;
    }
    const auto& key = LineKey();
    std::string out(plain.size() + 1, '\n');
    for (std::size_t j = 0; j < plain.size(); ++j) {
        const auto byte = static_cast<std::uint8_t>(static_cast<std::uint8_t>(plain[j]) - key[j]);
        if (byte == '\n') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X",
                          static_cast<unsigned>(static_cast<std::uint8_t>(plain[j])));
            error = "dictionary line byte " + std::string(hex) + " at column " + std::to_string(j) +
                    " would be stored as a newline: " + plain.substr(0, 24);
            return false;
        }
        out[j] = static_cast<char>(byte);
    }
    stored = std::move(out);
    return true;
}
