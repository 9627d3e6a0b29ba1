// The built dat/zw.dat through the program's own phrase search and voice
// lookup: every word on the first page of each lesson character's phrase list
// is spoken in full, and each card's pinyin names a voice.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "lesson/voice.h"
#include "phrase/phrase_search.h"

namespace {

// 大 家 学 中 文
const char* const kLessonCharacters[] = {"\xB4\xF3", "\xBC\xD2", "\xD1\xA7", "\xD6\xD0",
                                         "\xCE\xC4"};
constexpr int kFirstPage = 5;

// The syllables the phrase window's speaker plays: split at single blanks
// within the first 64 bytes, at most three.
std::vector<std::string> PlayedSyllables(const char* pinyin) {
    const std::size_t length = strnlen(pinyin, 64);
    std::vector<std::string> out;
    for (std::size_t start = 0; out.size() < 3 && start < length;) {
        std::size_t end = start;
        while (end < length && pinyin[end] != ' ') ++end;
        out.emplace_back(pinyin + start, end - start);
        start = end + 1;
    }
    return out;
}

std::string CardPinyin(const char* character) {
    std::FILE* in = std::fopen(TF_LESSON_FILE, "rb");
    if (in == nullptr) return {};
    std::fseek(in, lesson_file::kDictionaryOffset, SEEK_SET);
    char line[kLineBufferSize];
    std::string pinyin;
    while (ReadDictionaryRecord(in, line) == RecordStatus::Record) {
        char word[kWordBufferSize];
        RecordWord(line, word);
        if (std::strcmp(word, character) == 0) {
            char field[kPinyinBufferSize];
            RecordPinyin(line, field);
            pinyin = field;
            break;
        }
    }
    std::fclose(in);
    return pinyin;
}

void ExpectVoice(const std::string& name, const std::string& where) {
    const VoiceLocation at = FindVoice(VoiceDirectory, name);
    ASSERT_TRUE(at.found) << "no voice \"" << name << "\" for " << where;
    EXPECT_EQ(ReadVoiceRecording(TF_LESSON_FILE, at).status, VoiceReadStatus::Ok) << name;
}

}  // namespace

TEST(BuiltPhraseVoices, EveryWordOfEachFirstPhrasePageIsSpokenInFull) {
    int syllables = 0;
    for (const char* character : kLessonCharacters) {
        std::FILE* in = std::fopen(TF_LESSON_FILE, "rb");
        ASSERT_NE(in, nullptr);
        ASSERT_EQ(std::fseek(in, lesson_file::kDictionaryOffset, SEEK_SET), 0);
        const int found = CollectPhrases(in, character);
        std::fclose(in);
        ASSERT_GE(found, kFirstPage) << "fewer than five phrases";
        for (int slot = 0; slot < kFirstPage; ++slot) {
            char pinyin[kPinyinBufferSize];
            RecordPinyin(PhraseLines[slot], pinyin);
            const std::vector<std::string> played = PlayedSyllables(pinyin);
            // Two or three characters, one syllable each.
            EXPECT_EQ(played.size(), std::strlen(PhraseWords[slot]) / 2) << pinyin;
            for (const std::string& s : played) {
                ExpectVoice(s, std::string("the phrase ") + pinyin);
                ++syllables;
            }
        }
    }
    EXPECT_GE(syllables, 5 * kFirstPage * 2);
}

TEST(BuiltPhraseVoices, EachCardPinyinNamesAVoice) {
    for (const char* character : kLessonCharacters) {
        const std::string pinyin = CardPinyin(character);
        ASSERT_FALSE(pinyin.empty());
        EXPECT_EQ(pinyin.find(' '), std::string::npos) << pinyin;
        ExpectVoice(pinyin, "a card");
    }
}
