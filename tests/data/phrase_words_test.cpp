// The dictionary rules behind the phrase window: which words are phrases of a
// character, and which syllables of a pinyin field are spoken.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/dictionary.h"
#include "tests/support/dictionary_lines.h"

namespace {

using namespace phrase_test;

const std::string kJia = "\xBC\xD2";  // 家
const std::string kHuo = "\xBB\xEE";  // 活
const std::string kRen = "\xC8\xCB";  // 人

TEST(QualifiesAsPhrase, TakesWordsOfTwoAndThreeCharactersThatBeginWithTheCharacter) {
    const char* da = kDa.c_str();
    EXPECT_FALSE(QualifiesAsPhrase(kDa.c_str(), da));
    EXPECT_TRUE(QualifiesAsPhrase((kDa + kXue).c_str(), da));
    EXPECT_TRUE(QualifiesAsPhrase((kDa + kXue + kSheng).c_str(), da));
    EXPECT_FALSE(QualifiesAsPhrase((kDa + kXue + kSheng + kHuo).c_str(), da));
    EXPECT_FALSE(QualifiesAsPhrase((kDa + kXue + kSheng + kHuo + kRen).c_str(), da));
    EXPECT_FALSE(QualifiesAsPhrase((kJia + kRen).c_str(), da));
    EXPECT_FALSE(QualifiesAsPhrase((kXue + kDa).c_str(), da));
    EXPECT_FALSE(QualifiesAsPhrase("", da));
    // Both bytes of the first character count.
    EXPECT_FALSE(QualifiesAsPhrase("\xB4\xF2\xD1\xA7", da));
    EXPECT_FALSE(QualifiesAsPhrase("\xB5\xF3\xD1\xA7", da));
}

// 大 and 1 to 6 more bytes: a phrase from 3 bytes to 6, in a clean buffer and
// in one whose bytes after the terminator hold an older word's 'Z's.
TEST(QualifiesAsPhrase, BytesAfterTheTerminatorDoNotCount) {
    const char* da = kDa.c_str();
    const bool phrase[] = {false, false, true, true, true, true, false, false};
    for (int length = 1; length <= 8; ++length) {
        char clean[kWordBufferSize] = {};
        char stale[kWordBufferSize];
        std::memset(stale, 'Z', sizeof stale);
        const std::string word = (kDa + "ABCDEFGH").substr(0, static_cast<std::size_t>(length));
        std::memcpy(clean, word.c_str(), word.size() + 1);
        std::memcpy(stale, word.c_str(), word.size() + 1);
        EXPECT_EQ(QualifiesAsPhrase(clean, da), phrase[length - 1]) << length;
        EXPECT_EQ(QualifiesAsPhrase(stale, da), phrase[length - 1]) << length;
    }
}

TEST(SpokenSyllables, AreAtMostThreeSplitAtBlanks) {
    EXPECT_EQ(SpokenSyllables("da4 jia1"), (std::vector<std::string>{"da4", "jia1"}));
    EXPECT_EQ(SpokenSyllables("wen2 xue2 jia1 x"),
              (std::vector<std::string>{"wen2", "xue2", "jia1"}));
    // A trailing blank names no further syllable, and an empty field none.
    EXPECT_EQ(SpokenSyllables("da4 "), (std::vector<std::string>{"da4"}));
    EXPECT_EQ(SpokenSyllables(""), (std::vector<std::string>{}));
}

}  // namespace
