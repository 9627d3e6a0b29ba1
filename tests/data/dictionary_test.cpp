#include "data/dictionary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "data/scramble_key.h"
#include "tests/support/dictionary_fields.h"

namespace {

const std::string kDa = "\xB4\xF3";     // 大
const std::string kJia = "\xBC\xD2";    // 家
const std::string kZhong = "\xD6\xD0";  // 中

std::uint8_t KeyLow(std::size_t column) {
    return static_cast<std::uint8_t>(ScrambleKey[column]);
}

// A plain line with word, pinyin and meaning at their columns.
std::string PlainLine(const std::string& word, const std::string& pinyin,
                      const std::string& meaning) {
    std::string line = word;
    line.resize(25, ' ');
    line += pinyin + "]";
    line.resize(89, ' ');
    return line + meaning;
}

std::string Stored(const std::string& plain) {
    std::string stored, error;
    EXPECT_TRUE(ScrambleDictionaryLine(plain, stored, error)) << error;
    return stored;
}

// A dictionary section in a temporary file, positioned at its first line.
class Section {
public:
    explicit Section(const std::string& bytes) : file_(std::tmpfile()) {
        if (!file_) return;
        std::fwrite(bytes.data(), 1, bytes.size(), file_);
        std::rewind(file_);
    }
    ~Section() {
        if (file_) std::fclose(file_);
    }
    std::FILE* stream() const { return file_; }

private:
    std::FILE* file_;
};

// A line buffer of exactly kLineBufferSize bytes on the heap, so that the
// sanitizer build catches any write past it.
class LineBuffer {
public:
    LineBuffer() : bytes_(new char[kLineBufferSize]) {
        std::memset(bytes_.get(), 'Z', kLineBufferSize);
    }
    char (&line())[kLineBufferSize] {
        return *reinterpret_cast<char(*)[kLineBufferSize]>(bytes_.get());
    }
    std::string text() const { return {bytes_.get(), strnlen(bytes_.get(), kLineBufferSize)}; }

private:
    std::unique_ptr<char[]> bytes_;
};

std::string Display(const std::string& meaning) {
    struct {
        char display[kDisplayBufferSize];
        char canary[8];
    } out;
    std::memset(out.canary, 'C', sizeof out.canary);
    MeaningForDisplay(meaning.c_str(), out.display);
    EXPECT_EQ(std::string(out.canary, sizeof out.canary), std::string(sizeof out.canary, 'C'));
    return out.display;
}

TEST(ReadDictionaryRecord, ReadsTheLinesInFileOrder) {
    Section section(Stored(PlainLine(kDa, "da4", "/big/great/")) +
                    Stored(PlainLine(kDa + kJia, "da4 jia1", "/everybody/")) +
                    Stored(PlainLine(kZhong, "zhong1", "/middle/China/")));
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    Fields da = FieldsOf(buffer.line());
    EXPECT_EQ(da.word, kDa);
    EXPECT_EQ(da.pinyin, "da4");
    EXPECT_EQ(da.meaning, "/big/great/");
    EXPECT_EQ(da.display, "big; great; ");

    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(FieldsOf(buffer.line()).word, kDa + kJia);
    EXPECT_EQ(FieldsOf(buffer.line()).pinyin, "da4 jia1");
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text(), PlainLine(kZhong, "zhong1", "/middle/China/"));

    // A final line with its newline is a record; the end comes at the next read.
    EXPECT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::EndOfFile);
    EXPECT_EQ(buffer.text(), PlainLine(kZhong, "zhong1", "/middle/China/"));
    EXPECT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::EndOfFile);
}

TEST(ReadDictionaryRecord, EmptySectionEndsAtOnce) {
    Section section("");
    LineBuffer buffer;
    EXPECT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::EndOfFile);
    EXPECT_EQ(buffer.text().substr(0, 4), "ZZZZ");
    // A section file that did not open.
    EXPECT_EQ(ReadDictionaryRecord(nullptr, buffer.line()), RecordStatus::EndOfFile);
}

TEST(ReadDictionaryRecord, LastLineWithoutNewlineIsTheEnd) {
    const std::string first = PlainLine(kDa, "da4", "/big/");
    std::string last = Stored(PlainLine(kJia, "jia1", "/home/"));
    last.pop_back();
    Section section(Stored(first) + last);
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::EndOfFile);
    EXPECT_EQ(buffer.text(), first) << "the line is left alone at the end";
}

TEST(ReadDictionaryRecord, ScrambledZeroByteInsideALineIsData) {
    // A meaning byte equal to its column's key byte is stored as zero.
    std::size_t column = 90;
    while (column < 200 &&
           !(KeyLow(column) >= 0x21 && KeyLow(column) <= 0x7E && KeyLow(column) != '/'))
        ++column;
    ASSERT_LT(column, 200u);
    std::string plain = PlainLine(kDa, "da4", std::string(150, 'e'));
    plain[column] = static_cast<char>(KeyLow(column));
    const std::string stored = Stored(plain);
    ASSERT_EQ(stored[column], '\0');

    Section section(stored);
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text(), plain);
    EXPECT_EQ(FieldsOf(buffer.line()).meaning.size(), 150u);
}

TEST(ReadDictionaryRecord, StoredNewlineEndsTheLineUnchanged) {
    std::string stored = Stored(PlainLine(kDa, "da4", "/big/"));
    stored.insert(5, "\n");
    Section section(stored);
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text(), PlainLine(kDa, "da4", "/big/").substr(0, 5));
    // The rest is a line of its own, descrambled from column 0.
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    const std::string rest = buffer.text();
    ASSERT_EQ(rest.size(), stored.size() - 7);
    for (std::size_t j = 0; j < rest.size(); ++j) {
        EXPECT_EQ(static_cast<std::uint8_t>(rest[j]),
                  static_cast<std::uint8_t>(stored[6 + j] + KeyLow(j)));
    }

    std::uint8_t line[12] = {1, 2, 3, 4, 5, '\n', 7, 8, 9, 10, 11, 12};
    DescrambleLine(line, sizeof line);
    EXPECT_EQ(line[0], static_cast<std::uint8_t>(1 + KeyLow(0)));
    EXPECT_EQ(line[5], 0);
    EXPECT_EQ(line[6], 7) << "bytes after the newline are not descrambled";
}

TEST(ReadDictionaryRecord, LineLongerThanTheLimitIsReadInPieces) {
    // 300 stored bytes and a newline: 263 bytes, then the remaining 37.
    Section section(std::string(300, 'A') + "\n");
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text().size(), 263u);
    EXPECT_EQ(static_cast<std::uint8_t>(buffer.line()[262]),
              static_cast<std::uint8_t>('A' + KeyLow(262)));
    EXPECT_EQ(buffer.line()[264], 'Z') << "the last byte of the buffer is not touched";
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text().size(), 37u);
    EXPECT_EQ(static_cast<std::uint8_t>(buffer.line()[0]),
              static_cast<std::uint8_t>('A' + KeyLow(0)));
    EXPECT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::EndOfFile);
}

TEST(ReadDictionaryRecord, LongestValidLineIsReadWhole) {
    const std::string plain = PlainLine(kDa, "da4", "/" + std::string(172, 'w'));
    ASSERT_EQ(plain.size(), static_cast<std::size_t>(kMaxStoredLine));
    // A 263-byte stored line fills the read; its newline comes as an empty line.
    Section section(Stored(plain) + std::string(263, 'B') + "\n");
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text(), plain);
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text().size(), 263u);
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(buffer.text(), "");
    EXPECT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::EndOfFile);
}

TEST(ColumnRules, SingleCharacterWordEndsAtTheBlank) {
    const Fields fields = FieldsOf(PlainLine(kDa, "da4", "/big/").c_str());
    EXPECT_EQ(fields.word, kDa);
}

TEST(ColumnRules, WordWithoutBlankTakesAll24Bytes) {
    std::string word;
    for (int i = 0; i < 12; ++i) word += kZhong;
    std::string line = PlainLine(word, "zhong1", "/x/");
    line[24] = 'x';
    EXPECT_EQ(FieldsOf(line.c_str()).word, word);
}

TEST(ColumnRules, PinyinWithoutBracketTakesThe63BytesOfItsColumns) {
    std::string line = kDa;
    line.resize(25, ' ');
    line += std::string(63, 'p') + "q" + "/meaning/";
    const Fields fields = FieldsOf(line.c_str());
    EXPECT_EQ(fields.pinyin, std::string(63, 'p'));
    EXPECT_EQ(fields.meaning, "/meaning/");
}

TEST(ColumnRules, OneByteMeaningDisplaysEmpty) {
    const Fields fields = FieldsOf(PlainLine(kDa, "da4", "x").c_str());
    EXPECT_EQ(fields.meaning, "x");
    EXPECT_EQ(fields.display, "");
    EXPECT_EQ(Display(""), "");
}

TEST(ColumnRules, TrailingSlashDisplaysAsSemicolonAndSpace) {
    EXPECT_EQ(Display("/big/"), "big; ");
    EXPECT_EQ(Display("xa/b"), "a; b");
}

TEST(ColumnRules, LongestMeaningIsConvertedWhole) {
    std::string meaning = "/";
    for (int i = 0; i < 172; ++i) meaning += static_cast<char>(i % 10 == 9 ? '/' : 'a' + i % 26);
    const Fields fields = FieldsOf(PlainLine(kDa, "da4", meaning).c_str());
    ASSERT_EQ(fields.meaning, meaning);
    std::string expected;
    for (std::size_t l = 1; l < meaning.size(); ++l)
        expected += meaning[l] == '/' ? "; " : std::string(1, meaning[l]);
    EXPECT_EQ(fields.display, expected);
}

TEST(ColumnRules, DisplayIsBoundedTo199CharactersWhateverTheSlashes) {
    // 27 slashes among the 172 converted bytes give exactly 199 characters.
    const std::string fits = "x" + std::string(27, '/') + std::string(145, 'a');
    EXPECT_EQ(Display(fits), [] {
        std::string s;
        for (int i = 0; i < 27; ++i) s += "; ";
        return s + std::string(145, 'a');
    }());
    // 28 would give 200: the last letter is left off.
    const std::string over = "x" + std::string(28, '/') + std::string(144, 'a');
    std::string expected;
    for (int i = 0; i < 28; ++i) expected += "; ";
    EXPECT_EQ(Display(over), expected + std::string(143, 'a'));
    // All slashes: a "; " is never split.
    const std::string slashes(173, '/');
    std::string pairs;
    for (int i = 0; i < 99; ++i) pairs += "; ";
    EXPECT_EQ(Display(slashes), pairs);
}

TEST(ColumnRules, FieldsBeyondAShortRecordAreEmpty) {
    // Stale bytes of a longer earlier line stay in the buffer behind a short one.
    Section section(Stored(PlainLine(kDa, "da4", "/big/")) + Stored(kJia));
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    const Fields fields = FieldsOf(buffer.line());
    EXPECT_EQ(fields.word, kJia);
    EXPECT_EQ(fields.pinyin, "");
    EXPECT_EQ(fields.meaning, "");
}

TEST(ColumnRules, AZeroByteBeforeAFieldDoesNotCutIt) {
    // Zero bytes in the blanks of columns 3, 24 and 88: the fields stand in
    // their columns all the same.
    std::string plain = PlainLine(kDa, "da4", "/big/great/");
    plain[3] = '\0';
    plain[24] = '\0';
    plain[88] = '\0';
    Section section(Stored(plain) + Stored(PlainLine(kJia, "jia1", "/home/")));
    LineBuffer buffer;
    ASSERT_EQ(ReadDictionaryRecord(section.stream(), buffer.line()), RecordStatus::Record);
    EXPECT_EQ(std::string(buffer.line(), plain.size() + 1), plain + '\0');
    Fields da = FieldsOf(buffer.line());
    EXPECT_EQ(da.word, kDa);
    EXPECT_EQ(da.pinyin, "da4");
    EXPECT_EQ(da.meaning, "/big/great/");
    EXPECT_EQ(da.display, "big; great; ");
    // A zero inside a field ends that field only.
    plain = PlainLine(kZhong, "zhong1", "/middle/");
    plain[27] = '\0';
    plain[93] = '\0';
    Section cut(Stored(plain));
    ASSERT_EQ(ReadDictionaryRecord(cut.stream(), buffer.line()), RecordStatus::Record);
    da = FieldsOf(buffer.line());
    EXPECT_EQ(da.pinyin, "zh");
    EXPECT_EQ(da.meaning, "/mid");
}

TEST(ReadDictionaryRecord, ArbitraryBytesStayWithinEveryBuffer) {
    // Random bytes with many newlines and zeros; every field goes into a heap
    // buffer of exactly its documented size.
    std::mt19937 random(9);
    std::string bytes(40000, ' ');
    for (char& byte : bytes) {
        const auto value = random() % 16;
        byte = static_cast<char>(value == 0   ? '\n'
                                 : value == 1 ? '\0'
                                 : value == 2 ? '/'
                                              : random());
    }
    Section section(bytes);
    LineBuffer buffer;
    auto pinyin = std::make_unique<char[]>(kPinyinBufferSize);
    auto meaning = std::make_unique<char[]>(176);
    int records = 0;
    while (ReadDictionaryRecord(section.stream(), buffer.line()) == RecordStatus::Record) {
        ++records;
        char word[kWordBufferSize];
        char display[kDisplayBufferSize];
        RecordWord(buffer.line(), word);
        RecordPinyin(buffer.line(), pinyin.get());
        RecordMeaning(buffer.line(), meaning.get());
        MeaningForDisplay(meaning.get(), display);
        EXPECT_LE(std::strlen(word), 24u);
        EXPECT_LE(std::strlen(pinyin.get()), 63u);
        EXPECT_LE(std::strlen(meaning.get()), 175u);
        EXPECT_LE(std::strlen(display), 199u);
    }
    EXPECT_GT(records, 1000);
}

// --- The block scan of the card and the phrase search -----------------------

std::string Bytes(std::span<const std::uint8_t> stored) {
    return {reinterpret_cast<const char*>(stored.data()), stored.size()};
}

// The stored form of plain bytes worked out column by column: each byte minus
// the low byte of its column's key entry.
std::string ScrambledByHand(const std::string& plain) {
    std::string stored = plain;
    for (std::size_t j = 0; j < plain.size(); ++j)
        stored[j] = static_cast<char>(static_cast<std::uint8_t>(plain[j]) - KeyLow(j));
    return stored;
}

// Every line the block scan hands out, from the stream's position on.
std::vector<std::string> AllLines(std::FILE* stream) {
    DictionaryLines lines(stream);
    std::vector<std::string> out;
    std::span<const std::uint8_t> stored;
    while (lines.Next(stored)) out.push_back(Bytes(stored));
    return out;
}

// n stored bytes without a newline: 'a' to 'y' over and over.
std::string Letters(std::size_t n) {
    std::string bytes(n, ' ');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>('a' + i % 25);
    return bytes;
}

using Lines = std::vector<std::string>;

TEST(DictionaryLines, LineOf263BytesWithItsNewlineIsOneLine) {
    const std::string longest = Letters(262) + "\n";
    Section section(longest + "B\n");
    EXPECT_EQ(AllLines(section.stream()), (Lines{longest, "B\n"}));
}

TEST(DictionaryLines, LineOf263BytesWithoutItsNewlineIsCutAtTheLimit) {
    // The newline left over is an empty line of its own.
    Section section(Letters(263) + "\nB\n");
    EXPECT_EQ(AllLines(section.stream()), (Lines{Letters(263), "\n", "B\n"}));
    // At the end of the file, 263 bytes are a line; 262 are not.
    Section full(Letters(263));
    EXPECT_EQ(AllLines(full.stream()), Lines{Letters(263)});
    Section shorter(Letters(262));
    EXPECT_EQ(AllLines(shorter.stream()), Lines{});
}

TEST(DictionaryLines, LineLongerThanTheLimitGivesItsRemainderAsALine) {
    const std::string line = Letters(300) + "\n";
    Section section(line + "B\n");
    EXPECT_EQ(AllLines(section.stream()), (Lines{line.substr(0, 263), line.substr(263), "B\n"}));
}

TEST(DictionaryLines, ZeroBytesAreData) {
    const std::string first("A\0\0B\n", 5);
    const std::string second("\0\n", 2);
    Section section(first + second + std::string("\0\0", 2));
    EXPECT_EQ(AllLines(section.stream()), (Lines{first, second}));
}

TEST(DictionaryLines, LastLineWithoutNewlineIsNotHandedOut) {
    Section section("AB\nCD\nEF");
    EXPECT_EQ(AllLines(section.stream()), (Lines{"AB\n", "CD\n"}));
    Section empty("");
    EXPECT_EQ(AllLines(empty.stream()), Lines{});
    EXPECT_EQ(AllLines(nullptr), Lines{});
}

// Lines of 100 bytes up to byte 3999 of the file.
Lines Hundreds() {
    Lines lines;
    for (int i = 0; i < 40; ++i) lines.push_back(Letters(99) + "\n");
    return lines;
}

std::string Joined(const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line;
    return bytes;
}

TEST(DictionaryLines, LineAcrossTheEndOfTheFirstBlock) {
    // The first read takes 4096 bytes: the line of bytes 4000-4199 is split by it.
    Lines lines = Hundreds();
    lines.push_back(Letters(199) + "\n");
    lines.push_back("end\n");
    Section section(Joined(lines));
    EXPECT_EQ(AllLines(section.stream()), lines);

    // So is a line cut at the limit, and its remainder follows.
    lines = Hundreds();
    const std::string cut = Letters(290) + "\n";
    Section across(Joined(lines) + cut + "end\n");
    lines.push_back(cut.substr(0, 263));
    lines.push_back(cut.substr(263));
    lines.push_back("end\n");
    EXPECT_EQ(AllLines(across.stream()), lines);
}

TEST(DictionaryLines, NewlineAsTheLastByteOfTheFirstBlock) {
    Lines lines = Hundreds();
    lines.push_back(Letters(95) + "\n");  // its newline is byte 4095
    lines.push_back("B\n");
    const std::string bytes = Joined(lines);
    ASSERT_EQ(bytes.find('\n', 4000), 4095u);
    Section section(bytes);
    EXPECT_EQ(AllLines(section.stream()), lines);
}

TEST(DictionaryLines, EveryBlockEndKeepsTheLineBegun) {
    // Over 160 KiB of lines of 1 to 263 bytes: the reads end at 4096, 12288,
    // 28672, 61440, 126976, ... inside lines of every length.
    Lines lines;
    std::size_t total = 0;
    for (std::size_t i = 0; total < 160000; ++i) {
        lines.push_back(Letters((i * 37) % 263) + "\n");
        total += lines.back().size();
    }
    Section section(Joined(lines));
    EXPECT_EQ(AllLines(section.stream()), lines);
}

// The stream position after the block scan has handed out count lines of
// "0123456789" + "AB\n" + 300 bytes + "\n" + "EF\n", begun at byte 10.
long PositionAfter(int count) {
    Section section("0123456789AB\n" + Letters(300) + "\nEF\n");
    std::fseek(section.stream(), 10, SEEK_SET);
    {
        DictionaryLines lines(section.stream());
        std::span<const std::uint8_t> stored;
        for (int i = 0; i < count; ++i) EXPECT_TRUE(lines.Next(stored));
    }
    return std::ftell(section.stream());
}

TEST(DictionaryLines, LeavesTheStreamBehindTheLastLineHandedOut) {
    EXPECT_EQ(PositionAfter(0), 10);
    EXPECT_EQ(PositionAfter(1), 13);
    EXPECT_EQ(PositionAfter(2), 13 + 263);
    EXPECT_EQ(PositionAfter(3), 13 + 301);
    EXPECT_EQ(PositionAfter(4), 13 + 304);
    // After the end has been reported, the stream is at the end of the file.
    Section section("AB\nCD");
    AllLines(section.stream());
    EXPECT_EQ(std::ftell(section.stream()), 5);
}

TEST(RecordFromStored, DescramblesUpToTheNewline) {
    const std::string plain = PlainLine(kDa, "da4", "/big/");
    LineBuffer buffer;
    const std::string stored = ScrambledByHand(plain) + "\n";
    RecordFromStored({reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size()},
                     buffer.line());
    EXPECT_EQ(std::string(buffer.line(), plain.size() + 1), plain + '\0');
    // A stored zero is data: it descrambles to the key byte of its column.
    const std::uint8_t zeros[] = {0, 0, 0, '\n'};
    RecordFromStored(zeros, buffer.line());
    EXPECT_EQ(static_cast<std::uint8_t>(buffer.line()[0]), KeyLow(0));
    EXPECT_EQ(static_cast<std::uint8_t>(buffer.line()[2]), KeyLow(2));
    EXPECT_EQ(buffer.line()[3], '\0');
}

TEST(RecordFromStored, ZeroesWhatFollowsTheRecord) {
    LineBuffer buffer;
    const std::string longest = ScrambledByHand(Letters(263));
    RecordFromStored({reinterpret_cast<const std::uint8_t*>(longest.data()), longest.size()},
                     buffer.line());
    EXPECT_EQ(buffer.text(), Letters(263)) << "a line cut at the limit is 263 bytes";
    EXPECT_EQ(buffer.line()[264], 'Z');

    const std::string jia = ScrambledByHand(kJia) + "\n";
    RecordFromStored({reinterpret_cast<const std::uint8_t*>(jia.data()), jia.size()},
                     buffer.line());
    EXPECT_EQ(std::string(buffer.line(), 264), kJia + std::string(262, '\0'));
    const Fields fields = FieldsOf(buffer.line());
    EXPECT_EQ(fields.word, kJia);
    EXPECT_EQ(fields.pinyin, "");
    EXPECT_EQ(fields.meaning, "");
}

// The heads NextLineOf finds for character, in order.
Lines HeadsOf(const std::string& section, const std::string& character) {
    Section file(section);
    DictionaryLines lines(file.stream());
    std::span<const std::uint8_t> stored;
    char head[kWordHead + 1];
    Lines heads;
    while (NextLineOf(lines, character.c_str(), stored, head)) heads.push_back(head);
    return heads;
}

TEST(NextLineOf, MatchesTheFirstTwoStoredBytes) {
    const std::string da2 = "\xB4\xF0";  // 答: the first byte of 大
    const std::string stored = ScrambledByHand(PlainLine(da2, "da2", "/answer/")) + "\n" +
                               ScrambledByHand(PlainLine(kDa + kJia, "da4 jia1", "/all/")) + "\n" +
                               ScrambledByHand(PlainLine(kZhong, "zhong1", "/middle/")) + "\n" +
                               ScrambledByHand(kDa) + "\n" + ScrambledByHand(kDa.substr(0, 1)) +
                               "\n" + ScrambledByHand(PlainLine(kDa, "da4", "/big/")) + "\n";
    EXPECT_EQ(HeadsOf(stored, kDa), (Lines{kDa + kJia, kDa, kDa}));
    EXPECT_EQ(HeadsOf(stored, da2), Lines{da2});
    EXPECT_EQ(HeadsOf(stored, kJia), Lines{});

    // A character whose second byte is stored as the newline: the line that
    // ends after the first byte does not hold it.
    const std::string odd = {'\xB4', static_cast<char>(0x0A + KeyLow(1))};
    ASSERT_EQ(ScrambledByHand(odd)[1], '\n');
    EXPECT_EQ(HeadsOf(ScrambledByHand(odd), odd), Lines{});
}

TEST(NextLineOf, HeadIsTheWordCutAfterSevenBytesOrAtItsFirstBlank) {
    const std::string xue = "\xD1\xA7";  // 学
    const auto line = [](const std::string& plain) { return ScrambledByHand(plain) + "\n"; };
    const std::string stored = line(PlainLine(kDa + kJia + xue + kZhong, "", "")) +
                               line(kDa + kJia + "a b") + line(kDa + "ab cdefg") +
                               line(kDa + kJia + xue + "a") + line(kDa + "a");
    EXPECT_EQ(HeadsOf(stored, kDa), (Lines{kDa + kJia + xue + "\xD6", kDa + kJia + "a", kDa + "ab",
                                           kDa + kJia + xue + "a", kDa + "a"}));
}

TEST(ScrambleDictionaryLine, StoresTheInverseOfLineDescrambling) {
    std::mt19937 random(3);
    for (std::size_t length = 0; length <= static_cast<std::size_t>(kMaxStoredLine); ++length) {
        std::string plain(length, ' ');
        for (char& byte : plain) {
            const auto value = random() % (95 + 94);
            byte = static_cast<char>(value < 95 ? 0x20 + value : 0xA1 + (value - 95));
        }
        std::string stored, error;
        ASSERT_TRUE(ScrambleDictionaryLine(plain, stored, error)) << error;
        ASSERT_EQ(stored.size(), length + 1);
        EXPECT_EQ(stored.back(), '\n');
        EXPECT_EQ(stored.find('\n'), length);
        DescrambleLine(reinterpret_cast<std::uint8_t*>(stored.data()), stored.size());
        EXPECT_EQ(std::string(stored.c_str()), plain);
    }
}

TEST(ScrambleDictionaryLine, RejectsALineTooLong) {
    std::string stored = "unchanged", error;
    EXPECT_FALSE(ScrambleDictionaryLine(std::string(263, 'a'), stored, error));
    EXPECT_NE(error.find("263"), std::string::npos) << error;
    EXPECT_EQ(stored, "unchanged");
}

TEST(ScrambleDictionaryLine, RejectsAByteStoredAsNewline) {
    std::string plain = PlainLine(kDa, "da4", "/big/");
    plain[30] = static_cast<char>(0x0A + KeyLow(30));
    std::string stored, error;
    EXPECT_FALSE(ScrambleDictionaryLine(plain, stored, error));
    EXPECT_NE(error.find("column 30"), std::string::npos) << error;
}

}  // namespace
