// The phrase search on small lesson files: dictionary lines written through
// the data layer's scrambler at the dictionary offset, read back by
// CollectPhrases and by the "Get Phrases" handler.
#include "phrase/phrase_search.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/runtime/runtime.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "data/scramble_key.h"
#include "glyph/strokes.h"
#include "lesson/card.h"
#include "phrase/Phrase.h"
#include "tests/support/dictionary_lines.h"
#include "tests/support/stored_lines.h"

namespace {

namespace fs = std::filesystem;
using namespace phrase_test;

const std::string kJia = "\xBC\xD2";  // 家
const std::string kHuo = "\xBB\xEE";  // 活
const std::string kRen = "\xC8\xCB";  // 人

std::string Word2(int index) {
    return kDa + Hanzi(index);
}

std::string Word2Line(int index) {
    return Line(Word2(index), "da4 x" + std::to_string(index),
                "/word " + std::to_string(index) + "/");
}

// Stored lines, each ended by a newline unless lastWithoutNewline.
std::string Section(const std::vector<std::string>& plain, bool lastWithoutNewline = false) {
    std::string section;
    for (const std::string& line : plain) {
        std::string stored, error;
        EXPECT_TRUE(ScrambleDictionaryLine(line, stored, error)) << error;
        section += stored;
    }
    if (lastWithoutNewline && !section.empty()) section.pop_back();
    return section;
}

std::vector<std::string> Words() {
    std::vector<std::string> words;
    for (const auto& word : PhraseWords) {
        if (word[0] == '\0') break;
        words.emplace_back(word);
    }
    return words;
}

QApplication& App() {
    static int argc = 1;
    static char name[] = "test_phrase_search";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

class PhraseSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = fs::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = home_ / (std::string("work_") + info->name());
        fs::remove_all(work_);
        fs::create_directories(work_ / "dat");
        path_ = work_ / "dat" / "zw.dat";
        for (auto& word : PhraseWords) std::memset(word, 'x', sizeof word);
    }

    void TearDown() override {
        if (stream_ != nullptr) std::fclose(stream_);
        fs::current_path(home_);
        fs::remove_all(work_);
    }

    // Writes the lesson file and runs CollectPhrases from the dictionary offset.
    int Collect(const std::vector<std::string>& plain, const std::string& character = kDa,
                bool lastWithoutNewline = false) {
        return CollectSection(Section(plain, lastWithoutNewline), character);
    }
    int CollectSection(const std::string& section, const std::string& character = kDa) {
        WriteLessonFile(path_, section);
        return CollectAgain(character);
    }
    // The search again on the file as it is.
    int CollectAgain(const std::string& character) {
        if (stream_ != nullptr) std::fclose(stream_);
        stream_ = std::fopen(path_.c_str(), "rb");
        EXPECT_NE(stream_, nullptr);
        EXPECT_EQ(std::fseek(stream_, lesson_file::kDictionaryOffset, SEEK_SET), 0);
        return CollectPhrases(stream_, character.c_str());
    }

    fs::path home_, work_, path_;
    std::FILE* stream_ = nullptr;
};

TEST_F(PhraseSearchTest, OwnRecordAndWordsOfFourOrMoreCharactersGiveNothing) {
    std::string noBlank;
    for (int i = 0; i < 12; ++i) noBlank += kDa;
    const int found = Collect({
        Line(kDa, "da4", "/big/"),
        Line(kDa + kXue + kSheng + kHuo, "da4 xue2 sheng1 huo2", "/college life/"),
        Line(kDa + kXue + kSheng + kHuo + kRen, "x", "/five/"),
        noBlank + "[da4]" + std::string(60, ' ') + "/no blank/",
        Line(kJia + kRen, "jia1 ren2", "/family/"),
        Line(kXue + kDa, "xue2 da4", "/other/"),
    });
    EXPECT_EQ(found, 0);
    EXPECT_EQ(PhraseWords[0][0], '\0');
}

TEST_F(PhraseSearchTest, OnlyQualifyingLinesStayInFileOrder) {
    const std::vector<std::string> plain = {
        Line(kJia, "jia1", "/home/"),
        Line(kDa, "da4", "/big/"),
        Line(kDa + kXue, "da4 xue2", "/university/"),
        Line(kDa + kXue + kSheng + kHuo, "da4 xue2 sheng1 huo2", "/college life/"),
        Line(kJia + kRen, "jia1 ren2", "/family/"),
        Line(kDa + kRen, "da4 ren2", "/adult/"),
        Line(kDa + kXue + kSheng, "da4 xue2 sheng1", "/student/"),
        Line(kXue + kSheng, "xue2 sheng1", "/student/"),
    };
    EXPECT_EQ(Collect(plain), 3);
    EXPECT_EQ(Words(), (std::vector<std::string>{kDa + kXue, kDa + kRen, kDa + kXue + kSheng}));
    // Each word keeps its whole record.
    EXPECT_EQ(std::string(PhraseLines[0]), plain[2]);
    EXPECT_EQ(std::string(PhraseLines[1]), plain[5]);
    EXPECT_EQ(std::string(PhraseLines[2]), plain[6]);
    EXPECT_EQ(PhraseWords[3][0], '\0');
}

TEST_F(PhraseSearchTest, OtherCharactersFindTheirOwnWords) {
    const std::vector<std::string> plain = {
        Line(kDa + kXue, "da4 xue2", "/university/"),
        Line(kJia + kRen, "jia1 ren2", "/family/"),
        Line(kXue + kSheng, "xue2 sheng1", "/student/"),
    };
    EXPECT_EQ(Collect(plain, kJia), 1);
    EXPECT_EQ(Words(), std::vector<std::string>{kJia + kRen});
    EXPECT_EQ(Collect(plain, kXue), 1);
    EXPECT_EQ(Words(), std::vector<std::string>{kXue + kSheng});
}

TEST_F(PhraseSearchTest, ExactlyHundredWordsFillEverySlot) {
    std::vector<std::string> plain;
    for (int i = 0; i < kPhraseSlots; ++i) {
        plain.push_back(Line(kJia + Hanzi(i), "jia1", "/other/"));
        plain.push_back(Word2Line(i));
    }
    EXPECT_EQ(Collect(plain), kPhraseSlots);
    for (int i = 0; i < kPhraseSlots; ++i) {
        EXPECT_EQ(std::string(PhraseWords[i]), Word2(i)) << i;
        EXPECT_EQ(std::string(PhraseLines[i]), Word2Line(i)) << i;
    }
}

TEST_F(PhraseSearchTest, AHundredAndFirstWordIsNotTaken) {
    std::vector<std::string> plain;
    for (int i = 0; i <= kPhraseSlots; ++i) plain.push_back(Word2Line(i));
    plain.push_back(Line(kDa + kXue, "da4 xue2", "/university/"));
    EXPECT_EQ(Collect(plain), kPhraseSlots);
    const std::vector<std::string> words = Words();
    ASSERT_EQ(words.size(), static_cast<std::size_t>(kPhraseSlots));
    EXPECT_EQ(words.back(), Word2(kPhraseSlots - 1));
    for (const std::string& word : words) {
        EXPECT_NE(word, Word2(kPhraseSlots));
        EXPECT_NE(word, kDa + kXue);
    }
    // The scan stops behind the hundredth word: the rest is not read.
    std::size_t hundred = lesson_file::kDictionaryOffset;
    for (int i = 0; i < kPhraseSlots; ++i) hundred += plain[static_cast<std::size_t>(i)].size() + 1;
    EXPECT_EQ(std::ftell(stream_), static_cast<long>(hundred));
}

TEST_F(PhraseSearchTest, LastLineWithoutNewlineIsDiscarded) {
    const std::vector<std::string> plain = {
        Line(kDa + kXue, "da4 xue2", "/university/"),
        Line(kDa + kRen, "da4 ren2", "/adult/"),
    };
    EXPECT_EQ(Collect(plain, kDa, true), 1);
    EXPECT_EQ(Words(), std::vector<std::string>{kDa + kXue});
    EXPECT_EQ(PhraseWords[1][0], '\0');
    EXPECT_EQ(Collect(plain, kDa, false), 2);
    EXPECT_EQ(Words(), (std::vector<std::string>{kDa + kXue, kDa + kRen}));
}

TEST_F(PhraseSearchTest, OnlyLineWithoutNewlineGivesNothing) {
    EXPECT_EQ(Collect({Line(kDa + kXue, "da4 xue2", "/university/")}, kDa, true), 0);
    EXPECT_EQ(PhraseWords[0][0], '\0');
    EXPECT_EQ(Collect({}), 0);
    EXPECT_EQ(PhraseWords[0][0], '\0');
}

TEST_F(PhraseSearchTest, ANewSearchClearsTheSlotsOfTheLastOne) {
    std::vector<std::string> many;
    for (int i = 0; i < 7; ++i) many.push_back(Word2Line(i));
    EXPECT_EQ(Collect(many), 7);
    EXPECT_EQ(Collect({Word2Line(20), Line(kJia, "jia1", "/home/"), Word2Line(21)}), 2);
    EXPECT_EQ(Words(), (std::vector<std::string>{Word2(20), Word2(21)}));
    for (int i = 2; i < 7; ++i) EXPECT_EQ(PhraseWords[i][0], '\0') << i;
}

TEST_F(PhraseSearchTest, ASlotLeftByALongerWordIsReusedWhole) {
    // A rejected word of 24 bytes (no blank in its columns) leaves its bytes in
    // slot 0; the short word read over it is judged by its own bytes.
    std::string noBlank;
    for (int i = 0; i < 12; ++i) noBlank += kDa;
    const std::vector<std::string> plain = {
        noBlank + "[da4]" + std::string(60, ' ') + "/no blank/",
        Line(kDa + kXue + kSheng + kHuo, "da4 xue2 sheng1 huo2", "/college life/"),
        Line(kDa + kXue, "da4 xue2", "/university/"),
    };
    EXPECT_EQ(Collect(plain), 1);
    EXPECT_EQ(std::string(PhraseWords[0]), kDa + kXue);
    EXPECT_EQ(std::string(PhraseLines[0]), plain[2]);
    EXPECT_EQ(PhraseWords[1][0], '\0');
}

TEST_F(PhraseSearchTest, TheLongestLineIsKeptWhole) {
    const std::string longest = Line(kDa + kXue, "da4 xue2", "/" + std::string(172, 'm'));
    ASSERT_EQ(longest.size(), static_cast<std::size_t>(kMaxStoredLine));
    EXPECT_EQ(Collect({longest, Word2Line(3)}), 2);
    EXPECT_EQ(std::string(PhraseLines[0]), longest);
    EXPECT_EQ(std::string(PhraseLines[1]), Word2Line(3));
}

// A line is read 263 bytes at most: a longer one is cut and its rest read as a
// line of its own, descrambled from column 0; a last line without a newline
// counts only when it fills the 263 bytes.
TEST_F(PhraseSearchTest, TheReadLimitCutsLinesAsTheReaderDoes) {
    const std::string full =
        Line(kDa + kXue, "da4 xue2", "/" + std::string(172, 'm')) + "z";  // 263 bytes
    const std::string rest = Line(kDa + kRen, "da4 ren2", "/adult/");
    const std::string other = Line(kJia + kRen, "jia1 ren2", "/" + std::string(173, 'f'));
    const std::string last = Line(kDa + kSheng, "da4 sheng1", "/" + std::string(172, 'l')) + "y";
    ASSERT_EQ(full.size(), 263u);
    ASSERT_EQ(other.size(), 263u);
    const std::string section = ScrambledByHand(full) + "\n" +  // 263 bytes, then an empty line
                                ScrambledByHand(other) + ScrambledByHand(rest) + "\n" +
                                ScrambledByHand(last);  // the file's end, no newline
    EXPECT_EQ(CollectSection(section), 3);
    EXPECT_EQ(Words(), (std::vector<std::string>{kDa + kXue, kDa + kRen, kDa + kSheng}));
    EXPECT_EQ(std::string(PhraseLines[0], kLineBufferSize - 1), Record(full));
    EXPECT_EQ(std::string(PhraseLines[1], kLineBufferSize - 1), Record(rest));
    EXPECT_EQ(std::string(PhraseLines[2], kLineBufferSize - 1), Record(last));
    // One byte short of the limit, the last line is not a record.
    EXPECT_EQ(CollectSection(section.substr(0, section.size() - 1)), 2);
    EXPECT_EQ(PhraseWords[2][0], '\0');
}

TEST_F(PhraseSearchTest, ZeroBytesInsideALineAreData) {
    std::string kept = Line(kDa + kXue, "da4 xue2", "/university/college/");
    kept[12] = '\0';
    kept[88] = '\0';
    std::size_t column = 95;  // a meaning byte stored as zero
    while (static_cast<std::uint8_t>(ScrambleKey[column]) == 0) ++column;
    kept[column] = static_cast<char>(ScrambleKey[column]);
    std::string threeBytes = Line(kDa + kRen + "?" + kSheng, "da4 ren2", "/adult/");
    threeBytes[4] = '\0';  // the word ends at the zero: 大人
    std::string one = Line(kDa + "?" + kXue, "da4", "/big/");
    one[2] = '\0';  // the word is 大 alone
    ASSERT_EQ(ScrambledByHand(kept)[column], '\0');
    EXPECT_EQ(CollectSection(ScrambledByHand(one) + "\n" + ScrambledByHand(kept) + "\n" +
                             ScrambledByHand(threeBytes) + "\n"),
              2);
    EXPECT_EQ(Words(), (std::vector<std::string>{kDa + kXue, kDa + kRen}));
    EXPECT_EQ(std::string(PhraseLines[0], kLineBufferSize - 1), Record(kept));
    EXPECT_EQ(std::string(PhraseLines[1], kLineBufferSize - 1), Record(threeBytes));
    char pinyin[kPinyinBufferSize];
    char meaning[kMeaningBufferSize];
    RecordPinyin(PhraseLines[0], pinyin);
    RecordMeaning(PhraseLines[0], meaning);
    EXPECT_EQ(std::string(pinyin), "da4 xue2");
    EXPECT_EQ(std::string(meaning), kept.substr(89));
}

// Every line of a section of 600 KB belongs to one of 40 characters: each
// search finds exactly its character's lines, wherever the reads split them.
TEST_F(PhraseSearchTest, EachCharacterFindsAllItsWordsInALargeSection) {
    std::mt19937 random(14);
    std::vector<std::vector<std::string>> expected(40);
    std::string section;
    while (section.size() < 600000) {
        const int c = static_cast<int>(random() % 40);
        if (expected[static_cast<std::size_t>(c)].size() >= 99) continue;
        const std::string word = Hanzi(200 + c) + Hanzi(static_cast<int>(random() % 300)) +
                                 (random() % 2 ? Hanzi(static_cast<int>(random() % 300)) : "");
        const std::string meaning =
            "/" + std::string(random() % 173, static_cast<char>('a' + c % 26));
        const std::string plain = Line(word, "x", meaning);
        section += ScrambledByHand(plain) + "\n";
        expected[static_cast<std::size_t>(c)].push_back(word);
    }
    WriteLessonFile(path_, section);
    for (int c = 0; c < 40; ++c) {
        const auto& words = expected[static_cast<std::size_t>(c)];
        EXPECT_EQ(CollectAgain(Hanzi(200 + c)), static_cast<int>(words.size())) << c;
        EXPECT_EQ(Words(), words) << c;
    }
}

// The handler behind "click here to Get Phrases", in a working directory that
// holds the test's lesson file and a link to the built font.
class PhraseSearchClickTest : public PhraseSearchTest {
protected:
    void SetUp() override {
        PhraseSearchTest::SetUp();
        App();
        fs::create_symlink(fs::path(TF_BUILT_DAT_DIR) / "hzk24k.dat", work_ / "dat" / "hzk24k.dat");
        fs::current_path(work_);
        SetMessageSink([this](const std::string& text) { messages_.push_back(text); });
        Form1 = new TForm1;
        FrmPhrase = new TFrmPhrase;
    }

    void TearDown() override {
        delete FrmPhrase;
        delete Form1;
        FrmPhrase = nullptr;
        Form1 = nullptr;
        SetMessageSink({});
        PhraseSearchTest::TearDown();
    }

    // Clicks through the handler; a shown phrase window is closed at once.
    void Click() {
        QTimer::singleShot(0, FrmPhrase, [this] {
            if (!FrmPhrase->isVisible()) return;
            ++shown_;
            countWhenShown_ = PhraseCount;
            FrmPhrase->done(0);
        });
        PhraseSearchClick();
        QApplication::processEvents();
    }

    std::vector<std::string> messages_;
    int shown_ = 0;
    int countWhenShown_ = -1;
};

TEST_F(PhraseSearchClickTest, BeforeAnyCardClickSearchesForTheFirstCharacter) {
    ASSERT_EQ(SelectedOffset, 0);
    ASSERT_EQ(std::string(LessonChars, 2), kDa);
    WriteLessonFile(path_, Section({
                               Line(kJia + kRen, "jia1 ren2", "/family/"),
                               Line(kDa + kXue, "da4 xue2", "/university/"),
                               Line(kXue + kSheng, "xue2 sheng1", "/student/"),
                               Line(kDa + kRen, "da4 ren2", "/adult/"),
                           }));
    Click();
    EXPECT_EQ(shown_, 1);
    EXPECT_EQ(countWhenShown_, 2);
    EXPECT_EQ(Words(), (std::vector<std::string>{kDa + kXue, kDa + kRen}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PhraseSearchClickTest, SearchesForTheSelectedCharacter) {
    WriteLessonFile(path_, Section({
                               Line(kDa + kXue, "da4 xue2", "/university/"),
                               Line(kJia + kRen, "jia1 ren2", "/family/"),
                           }));
    SelectedOffset = 2;
    Click();
    SelectedOffset = 0;
    EXPECT_EQ(shown_, 1);
    EXPECT_EQ(Words(), std::vector<std::string>{kJia + kRen});
}

TEST_F(PhraseSearchClickTest, NoQualifyingWordSaysNoPhrases) {
    WriteLessonFile(path_, Section({
                               Line(kDa, "da4", "/big/"),
                               Line(kDa + kXue + kSheng + kHuo, "da4 xue2 sheng1 huo2", "/life/"),
                               Line(kJia + kRen, "jia1 ren2", "/family/"),
                           }));
    Click();
    EXPECT_EQ(shown_, 0);
    EXPECT_EQ(messages_, std::vector<std::string>{kNoPhrasesMessage});
}

TEST_F(PhraseSearchClickTest, AMissingLessonFileShowsNoWindow) {
    Click();
    EXPECT_EQ(shown_, 0);
    EXPECT_EQ(messages_, std::vector<std::string>{kLessonFileNotFoundMessage});
    EXPECT_EQ(PhraseWords[0][0], '\0');
}

}  // namespace
