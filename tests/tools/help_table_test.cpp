#include "tools/mkdata/help_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using Vectors = std::vector<std::pair<std::string, std::string>>;

void ExpectMarks(const Vectors& vectors) {
    for (const auto& [numbered, marked] : vectors)
        EXPECT_EQ(ToneMarkedPinyin(numbered), marked) << numbered;
}

TEST(ToneMarkedPinyin, TheMarkGoesOnAThenEThenTheOOfOuThenTheLastVowel) {
    ExpectMarks({{"da4", "dà"},
                 {"xue2", "xué"},
                 {"er2", "ér"},
                 {"gou3", "gǒu"},
                 {"liu2", "liú"},
                 {"gui4", "guì"},
                 {"zhong1", "zhōng"},
                 {"Zhong1 guo2", "Zhōng guó"}});
}

TEST(ToneMarkedPinyin, UColonAndVAreUmlautAndTheNeutralToneHasNoMark) {
    ExpectMarks({{"nu:3", "nǚ"},
                 {"lv4", "lǜ"},
                 {"lu:e4", "lüè"},
                 {"zi5", "zi"},
                 {"nu:5", "nü"},
                 {"xx", "xx"}});
}

TEST(ShortMeaning, TakesTheFirstSensesThatFitAndAlwaysTheFirst) {
    EXPECT_EQ(ShortMeaning("/big/large/great/older (than another person)/eldest"),
              "big; large; great");
    EXPECT_EQ(ShortMeaning("/to learn/to study/to imitate/science", 24), "to learn; to study");
    EXPECT_EQ(ShortMeaning("/to learn/to study/to imitate/science", 30),
              "to learn; to study; to imitate");
    EXPECT_EQ(ShortMeaning("/a very long first sense of a word/short"),
              "a very long first sense of a word");
}

TEST(HelpTableRow, WritesTheRowOfTheHelpPage) {
    EXPECT_EQ(HelpTableRow({"大", "da4", "/big/large/great/older (than another person)", 3}),
              "<tr><td><font color=\"#d00000\" size=\"+2\">大</font></td><td>da4 (dà)</td>"
              "<td>big; large; great</td><td>3</td></tr>\n");
    EXPECT_EQ(HelpTableRow({"和", "he2", "/and/peace & harmony/together with", 8}),
              "<tr><td><font color=\"#d00000\" size=\"+2\">和</font></td><td>he2 (hé)</td>"
              "<td>and; peace &amp; harmony</td><td>8</td></tr>\n");
}

TEST(HelpPhraseRow, WritesThePhraseWithItsFirstSense) {
    EXPECT_EQ(HelpPhraseRow({"大家", "da4 jia1", "/everyone/influential family/great expert"}),
              "<tr class=\"phrase\"><td>大家</td><td>da4 jia1</td><td>everyone</td></tr>\n");
    EXPECT_EQ(
        HelpPhraseRow({"和平", "he2 ping2", "/peace & quiet/peaceful"}),
        "<tr class=\"phrase\"><td>和平</td><td>he2 ping2</td><td>peace &amp; quiet</td></tr>\n");
}
