#include "tools/mkdata/help_table.h"

#include <gtest/gtest.h>

TEST(ToneMarkedPinyin, TheMarkGoesOnAThenEThenTheOOfOuThenTheLastVowel) {
    EXPECT_EQ(ToneMarkedPinyin("da4"), "dà");
    EXPECT_EQ(ToneMarkedPinyin("xue2"), "xué");
    EXPECT_EQ(ToneMarkedPinyin("er2"), "ér");
    EXPECT_EQ(ToneMarkedPinyin("gou3"), "gǒu");
    EXPECT_EQ(ToneMarkedPinyin("liu2"), "liú");
    EXPECT_EQ(ToneMarkedPinyin("gui4"), "guì");
    EXPECT_EQ(ToneMarkedPinyin("zhong1"), "zhōng");
    EXPECT_EQ(ToneMarkedPinyin("Zhong1 guo2"), "Zhōng guó");
}

TEST(ToneMarkedPinyin, UColonAndVAreUmlautAndTheNeutralToneHasNoMark) {
    EXPECT_EQ(ToneMarkedPinyin("nu:3"), "nǚ");
    EXPECT_EQ(ToneMarkedPinyin("lv4"), "lǜ");
    EXPECT_EQ(ToneMarkedPinyin("lu:e4"), "lüè");
    EXPECT_EQ(ToneMarkedPinyin("zi5"), "zi");
    EXPECT_EQ(ToneMarkedPinyin("nu:5"), "nü");
    EXPECT_EQ(ToneMarkedPinyin("xx"), "xx");
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
