#include "data/dictionary.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "data/scramble_key.h"

namespace {

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

constexpr auto kMaxRead = static_cast<std::size_t>(kLineReadLimit - 1);  // 263

// The stored form of the plain bytes of columns 0 .. count-1.
void StoredHead(const char* plain, std::uint8_t* stored, std::size_t count) {
    const auto& key = LineKey();
    for (std::size_t j = 0; j < count; ++j)
        stored[j] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(plain[j]) - key[j]);
}

// Columns 0 .. count-1 of the record of a stored line: zero from its end on.
void RecordHead(std::span<const std::uint8_t> stored, char* head, std::size_t count) {
    const auto& key = LineKey();
    std::size_t j = 0;
    for (; j < count && j < stored.size() && stored[j] != '\n'; ++j)
        head[j] = static_cast<char>(stored[j] + key[j]);
    for (; j < count; ++j) head[j] = 0;
}

}  // namespace

void DescrambleLine(std::uint8_t* line, std::size_t length) {
    const std::size_t count = std::min(length, static_cast<std::size_t>(kLineBufferSize));
    const std::size_t end = DescrambleInto(line, line, count);
    if (end < count) line[end] = 0;
}

void RecordFromStored(std::span<const std::uint8_t> stored, char (&line)[kLineBufferSize]) {
    const std::size_t count = std::min(stored.size(), kMaxRead);
    auto* out = reinterpret_cast<std::uint8_t*>(line);
    const std::size_t end = DescrambleInto(stored.data(), out, count);
    // Columns past the record read as empty fields, not as an older line.
    std::memset(out + end, 0, kMaxRead + 1 - end);
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
    const void* newline = std::memchr(read, '\n', kMaxRead);
    const std::size_t count =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - read) + 1 : kMaxRead;
    RecordFromStored({reinterpret_cast<const std::uint8_t*>(read), count}, line);
    return RecordStatus::Record;
}

DictionaryLines::DictionaryLines(std::FILE* stream)
    : stream_(stream),
      request_(kFirstRequest),
      position_(stream ? std::ftell(stream) : -1),
      atEnd_(stream == nullptr) {}

DictionaryLines::~DictionaryLines() {
    // Before the end: the stream where line-by-line reading would have left it.
    if (!finished_ && stream_ != nullptr && position_ >= 0)
        std::fseek(stream_, position_, SEEK_SET);
}

bool DictionaryLines::Refill() {
    if (atEnd_) return false;
    // The start of a line (at most 262 bytes) moves to the front; the block goes on behind it.
    const std::size_t kept = end_ - begin_;
    std::memmove(block_, block_ + begin_, kept);
    begin_ = 0;
    end_ = kept;
    const std::size_t got = std::fread(block_ + end_, 1, request_, stream_);
    end_ += got;
    if (got < request_) atEnd_ = true;  // end of file or read error
    request_ = std::min(request_ * 2, kBlockSize);
    return got > 0;
}

bool DictionaryLines::Next(std::span<const std::uint8_t>& stored) {
    for (;;) {
        const std::size_t available = end_ - begin_;
        const std::uint8_t* at = block_ + begin_;
        const void* newline =
            available > 0 ? std::memchr(at, '\n', std::min(available, kMaxRead)) : nullptr;
        std::size_t count = kMaxRead;
        if (newline != nullptr) {
            count = static_cast<std::size_t>(static_cast<const std::uint8_t*>(newline) - at) + 1;
        } else if (available < kMaxRead) {
            if (Refill()) continue;
            // A last line without a newline is not a record.
            finished_ = true;
            return false;
        }
        stored = {at, count};
        begin_ += count;
        if (position_ >= 0) position_ += static_cast<long>(count);
        return true;
    }
}

bool NextLineOf(DictionaryLines& lines, const char* character,
                std::span<const std::uint8_t>& stored, char (&head)[kWordHead + 1]) {
    std::uint8_t first[2];  // the character as a line that begins with it stores it
    StoredHead(character, first, 2);
    while (lines.Next(stored)) {
        if (stored.size() < 3 || stored[0] != first[0] || stored[1] != first[1]) continue;
        RecordHead(stored, head, kWordHead);
        head[kWordHead] = '\0';
        head[std::strcspn(head, " ")] = '\0';
        return true;
    }
    return false;
}

void RecordWord(const char* line, char (&word)[kWordBufferSize]) {
    int i = 0;
    for (; i < kWordColumns && line[i] != ' ' && line[i] != 0; ++i) word[i] = line[i];
    word[i] = 0;
}

void RecordPinyin(const char* line, char* pinyin) {
    int n = 0;
    for (int j = kPinyinColumn; j < kPinyinEnd && line[j] != ']' && line[j] != 0; ++j) {
        pinyin[n++] = line[j];
    }
    pinyin[n] = 0;
}

void RecordMeaning(const char* line, char* meaning) {
    int n = 0;
    for (int j = kMeaningColumn; j < kMeaningEnd && line[j] != 0; ++j) meaning[n++] = line[j];
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

bool QualifiesAsPhrase(const char* word, const char* character) {
    // Bytes after the terminator do not count: they may hold an older word.
    const std::size_t length = strnlen(word, kWordBufferSize);
    return length >= 3 && length <= 6 && word[0] == character[0] && word[1] == character[1];
}

std::vector<std::string> SpokenSyllables(const char* pinyin) {
    std::vector<std::string> syllables;
    const std::size_t length = strnlen(pinyin, kSpokenPinyinScan);
    std::size_t start = 0;
    for (int n = 0; n < kMaxSpokenSyllables && start < length; ++n) {
        std::size_t end = start;
        while (end < length && pinyin[end] != ' ') ++end;
        syllables.emplace_back(pinyin + start, end - start);
        start = end + 1;
    }
    return syllables;
}
