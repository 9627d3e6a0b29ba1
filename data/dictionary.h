// The dictionary section: scrambled fixed-column text lines.
//
// Columns of a descrambled record: word 0-23 (up to the first blank), pinyin
// 25-87 (up to the first ']'), meaning text from 89 to the end of the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

inline constexpr int kLineBufferSize = 265;  // line buffer of ReadDictionaryRecord
inline constexpr int kLineReadLimit = 264;   // fgets-style limit: at most 263 bytes
inline constexpr int kMaxStoredLine = 262;   // bytes before the newline in a valid file
inline constexpr int kWordBufferSize = 25;
inline constexpr int kPinyinBufferSize = 65;
inline constexpr int kMeaningBufferSize = 207;
inline constexpr int kDisplayBufferSize = 200;  // at most 199 characters

inline constexpr int kWordColumns = 24;    // the word: columns 0-23
inline constexpr int kPinyinColumn = 25;   // the pinyin, after '[' in column 24
inline constexpr int kPinyinEnd = 88;      // the pinyin's columns end before this
inline constexpr int kMeaningColumn = 89;  // the meaning text, after column 88

enum class RecordStatus { Record, EndOfFile };

// Reads the next line of the section from stream (at most 263 bytes up to and
// including a newline) into line, then line-descrambles it: the newline, or
// the end of the bytes read, becomes the terminating zero, and the columns
// after it up to 263 are set to zero. Never writes past
// line[kLineBufferSize - 1]. At end of file (nothing more could be read, or a
// last line without a newline) reports EndOfFile and leaves line unchanged; so
// it does for a null stream (a file that did not open) and after a read error.
RecordStatus ReadDictionaryRecord(std::FILE* stream, char (&line)[kLineBufferSize]);

// The section's lines as successive ReadDictionaryRecord calls split them, read
// from the stream in large blocks: a line is its stored bytes up to and
// including the newline, or the 263 bytes of a line cut at the read limit. A
// last line without a newline is not handed out. When the reader goes before
// the end of the file, the stream is left just behind the last line handed out.
class DictionaryLines {
public:
    explicit DictionaryLines(std::FILE* stream);
    ~DictionaryLines();
    DictionaryLines(const DictionaryLines&) = delete;
    DictionaryLines& operator=(const DictionaryLines&) = delete;

    // The next stored line, valid until the next call; false at the end.
    bool Next(std::span<const std::uint8_t>& stored);

private:
    bool Refill();

    std::FILE* stream_;
    static constexpr std::size_t kBlockSize = 64 << 10;
    static constexpr std::size_t kFirstRequest = 4 << 10;  // a card's record lies early on

    std::uint8_t block_[kBlockSize + kLineReadLimit];  // a line begun, then a block
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t request_;
    long position_;          // of block_[begin_] in the stream; -1 when unknown
    bool atEnd_ = false;     // the stream has no more bytes
    bool finished_ = false;  // Next has reported the end
};

// The record of a stored line, as ReadDictionaryRecord makes it.
void RecordFromStored(std::span<const std::uint8_t> stored, char (&line)[kLineBufferSize]);

// The scans' step: the next line whose word begins with the two bytes of
// character, with the word as RecordWord copies it, cut after kWordHead bytes,
// in head (zero-terminated). Only a line's word columns are descrambled; false
// at the end of the lines.
inline constexpr std::size_t kWordHead = 7;  // tells a word of up to 6 bytes from longer ones
bool NextLineOf(DictionaryLines& lines, const char* character,
                std::span<const std::uint8_t>& stored, char (&head)[kWordHead + 1]);

// Line descrambling in place of a buffer holding length stored bytes (at most
// kLineBufferSize are looked at): descrambles up to the first stored newline and
// writes the terminating zero over it. Without a newline, nothing past the
// length bytes is written and the caller terminates the line.
void DescrambleLine(std::uint8_t* line, std::size_t length);

// Column rules: copy a field into a zero-terminated buffer. line is a line
// buffer as ReadDictionaryRecord leaves it (zero after the record), or a
// zero-terminated record that reaches column 89. Each field is taken from its
// own columns: a zero byte ends the field it lies in, not the ones after it.
void RecordWord(const char* line, char (&word)[kWordBufferSize]);
void RecordPinyin(const char* line, char* pinyin);    // at least kPinyinBufferSize bytes
void RecordMeaning(const char* line, char* meaning);  // at least 176 bytes
// Display form: drops byte 0, writes each '/' as "; ", bounded to 199 characters
// (the conversion stops where the next character would not fit).
void MeaningForDisplay(const char* meaning, char (&display)[kDisplayBufferSize]);

// Whether word (zero-terminated, as RecordWord copies it) begins with the two
// bytes of character and has a second character but no fourth: the words of
// two or three characters that the phrase search lists.
bool QualifiesAsPhrase(const char* word, const char* character);

// The syllables the phrase window plays for a pinyin field: the text up to its
// terminator or its first kSpokenPinyinScan bytes, split at single blanks, at
// most kMaxSpokenSyllables; an empty field gives none.
inline constexpr std::size_t kSpokenPinyinScan = 64;
inline constexpr int kMaxSpokenSyllables = 3;
std::vector<std::string> SpokenSyllables(const char* pinyin);

// The builder's inverse: the stored form of one plain line (without newline),
// with the newline appended. Fails with a message in error (stored unchanged)
// when the line is longer than kMaxStoredLine or a byte would be stored as 0x0A.
bool ScrambleDictionaryLine(const std::string& plain, std::string& stored, std::string& error);
