// The card's scan of the dictionary section: the first line whose word is the
// character alone, wherever the reads split the section.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "lesson/card.h"
#include "tests/support/dictionary_lines.h"
#include "tests/support/stored_lines.h"

namespace {

using namespace phrase_test;

const std::string kJia = "\xBC\xD2";  // 家
const std::string kRen = "\xC8\xCB";  // 人

TEST(FindCardRecord, FindsTheCharactersOwnRecord) {
    std::string own = Line(kDa, "da4", "/big/");
    own[10] = '\0';
    std::string filler;
    for (int i = 0; filler.size() < 300000; ++i)
        filler +=
            ScrambledByHand(Line(kJia + Hanzi(i % 500), "jia1", "/" + std::string(100, 'f'))) +
            "\n";
    const std::string other = Line(kJia + kRen, "jia1 ren2", "/" + std::string(173, 'f'));
    const std::string section = ScrambledByHand(Line(kDa + kXue, "da4 xue2", "/university/")) +
                                "\n" + filler + ScrambledByHand(other) + ScrambledByHand(own) +
                                "\n" + ScrambledByHand(Line(kDa, "da5", "/second/")) + "\n";
    const std::filesystem::path path = "card_record_zw.dat";
    WriteLessonFile(path, section);
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET);
    EXPECT_TRUE(FindCardRecord(stream, kDa.c_str()));
    EXPECT_EQ(std::string(CardRecord.Word), kDa);
    EXPECT_EQ(std::string(CardLine, kLineBufferSize - 1), Record(own));
    std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET);
    EXPECT_FALSE(FindCardRecord(stream, kXue.c_str()));
    std::fclose(stream);
    std::filesystem::remove(path);
}

}  // namespace
