#include "data/dictionary.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/dictionary_fields.h"
#include "tools/mkdata/cedict.h"
#include "tools/mkdata/course_dictionary.h"
#include "tools/mkdata/dictionary_build.h"
#include "tools/mkdata/frequency.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/lesson_input.h"
#include "tools/mkdata/meaning.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/readings.h"
#include "tools/mkdata/source_text.h"

namespace {

// The record the program reads back from a stored line.
Fields ReadStored(const std::string& stored) {
    char line[kLineBufferSize] = {};
    std::copy(stored.begin(), stored.end(), line);
    DescrambleLine(reinterpret_cast<std::uint8_t*>(line), stored.size());
    return FieldsOf(line);
}

std::string Gb(const std::string& utf8) {
    return Gb2312Hanzi(utf8).value();
}

DictionarySources Sources(const std::string& cedict) {
    DictionarySources s;
    s.entries = ParseCedict(cedict);
    s.readings = {{"大", "da4"}, {"中", "zhong1"}, {"家", "jia1"}};
    s.lessonCharacters = {"大", "家", "学", "中", "文"};
    return s;
}

std::vector<std::string> Plain(const DictionaryBuild& build) {
    std::vector<std::string> out;
    for (const auto& line : build.lines) out.push_back(line.utf8Word + " " + line.pinyin);
    return out;
}

}  // namespace

TEST(DictionaryLine, FieldsStandInTheirColumnsAndReadBackThroughTheColumnRules) {
    const std::string meaning = "/big; large; great/older";  // 24 bytes: columns 89-112
    const std::string plain = FormatDictionaryLine(Gb("大"), "da4", meaning);
    ASSERT_EQ(plain.size(), 113u);
    EXPECT_EQ(plain.substr(0, 2), Gb("大"));
    EXPECT_EQ(plain.substr(2, 22), std::string(22, ' '));
    EXPECT_EQ(plain[24], '[');
    EXPECT_EQ(plain.substr(25, 4), "da4]");
    EXPECT_EQ(plain[88], ' ');
    EXPECT_EQ(plain[89], '/');
    EXPECT_EQ(plain.substr(89), meaning);

    std::string stored, error;
    ASSERT_TRUE(ScrambleDictionaryLine(plain, stored, error)) << error;
    const Fields r = ReadStored(stored);
    EXPECT_EQ(r.word, Gb("大"));
    EXPECT_EQ(r.pinyin, "da4");
    EXPECT_EQ(r.meaning, meaning);
    EXPECT_EQ(r.display, "big; large; great; older");  // no dangling "; "
}

TEST(DictionaryLine, LongestLineFitsTheStoredLimit) {
    const std::string meaning = "/" + std::string(172, 'x');
    const std::string plain =
        FormatDictionaryLine(Gb("中华人民共和国万岁万万岁"), std::string(62, 'a'), meaning);
    EXPECT_EQ(plain.size(), static_cast<std::size_t>(kMaxStoredLine));
    std::string stored, error;
    ASSERT_TRUE(ScrambleDictionaryLine(plain, stored, error)) << error;
    const Fields r = ReadStored(stored);
    EXPECT_EQ(r.pinyin, std::string(62, 'a'));
    EXPECT_EQ(r.meaning, meaning);
}

TEST(MeaningText, ChineseCrossReferencesBecomeTheirPinyin) {
    EXPECT_EQ(AsciiSense("see 大夫[dai4 fu5]"), "see dai4 fu5");
    EXPECT_EQ(AsciiSense("CL:個|个[ge4],位[wei4]"), "CL:ge4,wei4");
    EXPECT_EQ(AsciiSense("used in 傢伙|家伙[jia1 huo5] and 傢俱|家俱[jia1 ju4]"),
              "used in jia1 huo5 and jia1 ju4");
    EXPECT_EQ(AsciiSense("(Tw) 你 is used for men"), "(Tw) is used for men");
    // Words that mix Chinese with digits, letters or Chinese punctuation.
    EXPECT_EQ(AsciiSense("see 95後|95后[jiu3 wu3 hou4]"), "see jiu3 wu3 hou4");
    EXPECT_EQ(AsciiSense("abbr. for 九價HPV疫苗|九价HPV疫苗[jiu3 jia4 H P V yi4 miao2]"),
              "abbr. for jiu3 jia4 H P V yi4 miao2");
    EXPECT_EQ(AsciiSense("see 一朝被蛇咬，十年怕井繩|一朝被蛇咬，十年怕井绳[yi1 zhao1]"),
              "see yi1 zhao1");
    EXPECT_EQ(AsciiSense("also pr. [da4]"), "also pr. [da4]");
}

TEST(MeaningText, OtherTextBecomesPlainAscii) {
    EXPECT_EQ(AsciiSense("Zürich, Île-de-France, Ōsaka"), "Zurich, Ile-de-France, Osaka");
    EXPECT_EQ(AsciiSense("“quoted” – it’s…"), "\"quoted\" - it's...");
    EXPECT_EQ(AsciiSense("Greek letter Α, α, 90°"), "Greek letter A, a, 90 deg");
    EXPECT_EQ(AsciiSense("☃ snowman ()"), "snowman");
}

TEST(MeaningText, OtherScriptsAndSymbolsAreTransliterated) {
    EXPECT_EQ(AsciiSense("Kṣitigarbha, Tiếng Việt, Chișinău, Hawaiʻi"),
              "Ksitigarbha, Tieng Viet, Chisinau, Hawai'i");
    EXPECT_EQ(AsciiSense("Russian \"хлеб\", Korean 아!"), "Russian \"hleb\", Korean a!");
    EXPECT_EQ(AsciiSense("1.6 x 10⁻¹³ joules, 100 m²"), "1.6 x 10^-13 joules, 100 m^2");
    EXPECT_EQ(AsciiSense("5 µs, 3 μg (Π, π); sec θ"), "5 us, 3 ug (P, pi); sec th");
    EXPECT_EQ(AsciiSense("¿Qué?, Pyrus × b, CaSO4·2H2O"), "Que?, Pyrus x b, CaSO4 2H2O");
    // No slash: it would split the sense.
    EXPECT_EQ(AsciiSense("1⁄16 ounce, ３／４"), "1 16 ounce, 3 4");
    EXPECT_EQ(AsciiSense("written ㄅㄧㄤˋ, letter א of"), "written , letter of");
}

TEST(MeaningText, SensesAreKeptWholeWithinTheLimits) {
    const std::vector<std::string> senses = {std::string(100, 'a'), std::string(60, 'b'),
                                             std::string(20, 'c')};
    const auto meaning = FitMeaning(senses);
    ASSERT_TRUE(meaning);
    EXPECT_EQ(*meaning, "/" + senses[0] + "/" + senses[1]);  // the third would pass 173
    EXPECT_LE(meaning->size(), kMaxMeaningBytes);

    // A first sense longer than the field is cut at a blank.
    std::string longSense;
    while (longSense.size() < 300) longSense += "word ";
    const auto cut = FitMeaning({longSense});
    ASSERT_TRUE(cut);
    EXPECT_LE(cut->size(), kMaxMeaningBytes);
    EXPECT_EQ(cut->back(), 'd');

    // Many short senses: the display form stays within 199 characters.
    const auto many = FitMeaning(std::vector<std::string>(60, "ab"));
    ASSERT_TRUE(many);
    std::size_t slashes = 0;
    for (char c : many->substr(1)) slashes += c == '/';
    EXPECT_LE(many->size() - 1 + slashes, kMaxDisplayChars);
    EXPECT_FALSE(FitMeaning({}));
}

TEST(MeaningText, ReferenceSensesAreRecognised) {
    EXPECT_TRUE(IsReferenceSense("see dai4 fu5"));
    EXPECT_TRUE(IsReferenceSense("used in jia1 huo5"));
    EXPECT_TRUE(IsReferenceSense("variant of ge4"));
    EXPECT_TRUE(IsReferenceSense("old variant of ge4"));
    EXPECT_FALSE(IsReferenceSense("big; large; great"));
    EXPECT_FALSE(IsReferenceSense("seesaw"));
}

TEST(Readings, ToneMarksBecomeToneNumbersInCedictSpelling) {
    EXPECT_EQ(NumberedPinyin("zhōng"), "zhong1");
    EXPECT_EQ(NumberedPinyin("xué"), "xue2");
    EXPECT_EQ(NumberedPinyin("lǜ"), "lu:4");
    EXPECT_EQ(NumberedPinyin("ma"), "ma5");
    EXPECT_FALSE(NumberedPinyin("da4"));
    const auto readings = CardReadings(
        "# comment\nU+5927\tkMandarin\tdà\nU+4E2D\tkMandarin\tzhōng "
        "zhòng\nU+4E2D\tkHanyuPinyin\t1:zhōng\n",
        {}, {});
    EXPECT_EQ(readings.at("大"), "da4");
    EXPECT_EQ(readings.at("中"), "zhong1");
    EXPECT_EQ(readings.size(), 2u);
}

TEST(Readings, ANeutralFirstValueGivesWayToAReadingOfItsOwnUnlessTheCharacterIsAParticle) {
    const std::string unihan =
        "U+5730\tkMandarin\tde dì\nU+5B50\tkMandarin\tzi\nU+5319\tkMandarin\tshi\n"
        "U+7684\tkMandarin\tde\nU+4EEC\tkMandarin\tmen\n";
    const auto entries = ParseCedict(
        "地 地 [de5] /-ly/\n地 地 [Di2] /surname Di/\n地 地 [di2] /made up/\n"
        "地 地 [di4] /earth/ground/\n子 子 [zi5] /noun suffix, as in 椅子[yi3 zi5] \"chair\"/\n"
        "子 子 [zi3] /son/child/\n匙 匙 [shi5] /used in 鑰匙|钥匙[yao4 shi5]/\n"
        "匙 匙 [chi2] /spoon/\n的 的 [de5] /of/\n的 的 [di2] /really and truly/\n"
        "們 们 [men5] /plural marker/\n");
    WordTags tags = {{"地", "uv"}, {"子", "ng"}, {"匙", "n"}, {"的", "uj"}, {"们", "k"}};
    auto readings = CardReadings(unihan, entries, tags);
    EXPECT_EQ(readings.at("地"), "di4");  // kMandarin's next value, before di2
    EXPECT_EQ(readings.at("子"), "zi3");
    EXPECT_EQ(readings.at("匙"), "chi2");
    EXPECT_EQ(readings.at("的"), "de5");
    EXPECT_EQ(readings.at("们"), "men5");
    tags["子"] = "k";
    tags["的"] = "n";
    readings = CardReadings(unihan, entries, tags);
    EXPECT_EQ(readings.at("子"), "zi5");
    EXPECT_EQ(readings.at("的"), "di2");
}

TEST(SourceText, TemplateStringOfAModuleIsItsText) {
    EXPECT_EQ(TemplateStringText("module.exports = `a\\`b\nc\\\\d`;"), "a`b\nc\\d");
    EXPECT_FALSE(TemplateStringText("module.exports = `unterminated"));
}

TEST(DictionaryOrder, PrimaryReadingRealSensesAndLowerCaseComeFirst) {
    const auto build =
        BuildDictionary(Sources("# header\n"
                                "中 中 [Zhong1] /China/surname Zhong/\n"
                                "中 中 [zhong4] /to hit/\n"
                                "中 中 [zhong1] /within; among/\n"
                                "傢 家 [jia1] /used in 傢伙|家伙[jia1 huo5]/\n"
                                "家 家 [jia1] /home/family/\n"
                                "大學 大学 [Da4 xue2] /the Great Learning/\n"
                                "大學 大学 [da4 xue2] /university/\n"));
    EXPECT_EQ(Plain(build),
              (std::vector<std::string>{"家 jia1", "家 jia1", "中 zhong1", "中 Zhong1", "中 zhong4",
                                        "大学 da4 xue2", "大学 Da4 xue2"}));
    EXPECT_EQ(build.lines[0].meaning, "/home/family");
    EXPECT_EQ(build.lines[1].meaning, "/used in jia1 huo5");
}

TEST(DictionaryOrder, LessonWordsFirstThenByPlaceInBothLists) {
    DictionarySources s = Sources(
        "文 文 [wen2] /language/\n"
        "人 人 [ren2] /person/\n"
        "的 的 [de5] /of/\n"
        "中文 中文 [Zhong1 wen2] /Chinese language/\n"
        "中中 中中 [zhong1 zhong1] /mediocre/\n"
        "大大 大大 [da4 da4] /greatly/\n"
        "大人 大人 [da4 ren5] /adult/\n"
        "大 大 [da4] /big/\n");
    // Places, jieba / second list: 文 1/2, 的 2/1, 大大 3/3, 大人 4/5, 中文 5/4,
    // 人 6/6; 中中 is in neither (7/7). The lesson's characters in slot order and
    // its word 中文 lead; 大大 repeats one character and follows its places.
    s.frequencies = {{"文", 9000},  {"的", 5000},  {"大大", 3455},
                     {"大人", 700}, {"中文", 600}, {"人", 500}};
    s.weights = {{"的", 900},   {"文", 800},   {"大大", 700},
                 {"中文", 600}, {"大人", 500}, {"人", 400}};
    const auto build = BuildDictionary(s);
    EXPECT_EQ(build.lessonWords, (std::vector<std::string>{"中文"}));
    EXPECT_EQ(Plain(build), (std::vector<std::string>{"大 da4", "文 wen2", "中文 Zhong1 wen2",
                                                      "的 de5", "大大 da4 da4", "大人 da4 ren5",
                                                      "人 ren2", "中中 zhong1 zhong1"}));
    // Without the second list the words follow jieba's counts alone, and no
    // word is a lesson word.
    s.weights.clear();
    EXPECT_EQ(
        Plain(BuildDictionary(s)),
        (std::vector<std::string>{"大 da4", "文 wen2", "的 de5", "大大 da4 da4", "大人 da4 ren5",
                                  "中文 Zhong1 wen2", "人 ren2", "中中 zhong1 zhong1"}));
}

TEST(DictionaryOrder, ACourseLessonsCharactersKeepTheirLinesAndOrderFromTheWholeDictionary) {
    DictionarySources s = Sources(
        "文 文 [wen2] /language/\n"
        "人 人 [ren2] /person/\n"
        "中文 中文 [Zhong1 wen2] /Chinese language/\n"
        "中中 中中 [zhong1 zhong1] /mediocre/\n"
        "大人 大人 [da4 ren5] /adult/\n"
        "大 大 [da4] /big/\n");
    s.frequencies = {{"文", 9000}, {"大人", 700}, {"中文", 600}, {"人", 500}};
    s.weights = {{"文", 800}, {"中文", 600}, {"大人", 500}, {"人", 400}};
    const std::vector<std::string> whole = Plain(BuildDictionary(s));
    ASSERT_EQ(whole, (std::vector<std::string>{"大 da4", "文 wen2", "中文 Zhong1 wen2",
                                               "大人 da4 ren5", "人 ren2", "中中 zhong1 zhong1"}));
    s.firstCharacters = {"大", "中"};
    const DictionaryBuild own = BuildDictionary(s);
    EXPECT_EQ(Plain(own), (std::vector<std::string>{"大 da4", "中文 Zhong1 wen2", "大人 da4 ren5",
                                                    "中中 zhong1 zhong1"}));
    // 中's lines as a lesson settled them lead; the rest keep their order.
    std::vector<DictionaryLine> zhong = LinesBeginningWith(own.lines, 0xD6D0);
    std::swap(zhong[0], zhong[1]);
    DictionaryBuild course = BuildDictionary(s);
    s.firstCharacters.clear();
    course.lines = WithSettledLines(BuildDictionary(s).lines, {{0xD6D0, zhong}});
    EXPECT_EQ(Plain(course),
              (std::vector<std::string>{"中中 zhong1 zhong1", "中文 Zhong1 wen2", "大 da4",
                                        "文 wen2", "大人 da4 ren5", "人 ren2"}));
}

TEST(DictionaryOrder, LessonWordsAreCommonWordsOfTwoOrMoreLessonCharacters) {
    // Places, first / second list: 大家 1/1, 大大 2/2, 中国 3/3, 大学 4/6,
    // 中文 5/4, 文学家 6/5, 文学 7/7; 学文 only in the second list.
    const WordPlaces places({{"大家", 90},
                             {"大大", 80},
                             {"中国", 70},
                             {"大学", 60},
                             {"中文", 50},
                             {"文学家", 40},
                             {"文学", 30}},
                            {{"大家", 90},
                             {"大大", 80},
                             {"中国", 70},
                             {"中文", 60},
                             {"文学家", 50},
                             {"大学", 40},
                             {"文学", 30},
                             {"学文", 20}});
    const std::vector<std::string> words = {"文学", "大学", "文学家", "学文", "中国",
                                            "大大", "大家", "大",     "中文"};
    const std::vector<std::string> lesson = {"大", "家", "学", "中", "文"};
    // 大 is one character, 大大 repeats one, 中国 holds 国, 学文 only one list holds.
    EXPECT_EQ(LessonWords(words, lesson, places, 7),
              (std::vector<std::string>{"大家", "中文", "大学", "文学家", "文学"}));
    // Both lists must hold a lesson word within the place given: 文学家 is 6th in one.
    EXPECT_EQ(LessonWords(words, lesson, places, 5), (std::vector<std::string>{"大家", "中文"}));
    EXPECT_TRUE(LessonWords(words, {"春", "夏", "秋", "冬", "天"}, places).empty());
}

TEST(DictionaryOrder, FurtherReadingsOfAWordFollowTheFirstReadingOfEveryWord) {
    DictionarySources s = Sources(
        "大學 大学 [Da4 xue2] /the Great Learning/\n"
        "大學 大学 [da4 xue2] /university/\n"
        "大夫 大夫 [dai4 fu5] /doctor/\n"
        "大夫 大夫 [da4 fu1] /senior official/\n"
        "大家 大家 [da4 jia1] /everyone/\n"
        "大 大 [dai4] /see 大夫[dai4 fu5]/\n"
        "大 大 [da4] /big/\n"
        "大量 大量 [da4 liang4] /great amount/\n");
    s.frequencies = {{"大学", 20025}, {"大家", 19177}, {"大量", 10535}, {"大夫", 900}};
    const auto build = BuildDictionary(s);
    // A single character's readings stay together: the card takes the first.
    EXPECT_EQ(Plain(build),
              (std::vector<std::string>{"大 da4", "大 dai4", "大学 da4 xue2", "大家 da4 jia1",
                                        "大量 da4 liang4", "大夫 dai4 fu5", "大学 Da4 xue2",
                                        "大夫 da4 fu1"}));
    EXPECT_EQ(FirstPhrasePage(build.lines, 0xB4F3), (std::vector<std::size_t>{2, 3, 4, 5, 6}));
    EXPECT_EQ(FirstPhrases(build.lines, 0xB4F3, 20).size(), 6u);
}

TEST(DictionaryOrder, AWordStandsAgainOnlyWhenEveryOtherWordHasStoodOnce) {
    const auto lines = [](std::initializer_list<const char*> words) {
        std::vector<DictionaryLine> out;
        for (const char* w : words) out.push_back({w, Gb(w), "x1", "/x/", ""});
        return out;
    };
    constexpr std::uint16_t kPing = 0xC6BB;  // 苹
    // 苹 begins three words; 苹果's second reading (the company) follows them all.
    EXPECT_TRUE(
        RepeatedPhrases(lines({"苹", "苹果", "苹果汁", "苹果酱", "苹果"}), kPing, 20).empty());
    // Before another word's first reading it refuses the list; beyond the
    // phrases checked it does not.
    EXPECT_EQ(RepeatedPhrases(lines({"苹果", "苹果", "苹果汁", "苹果", "苹果酱"}), kPing, 20),
              (std::vector<std::string>{"苹果", "苹果"}));
    EXPECT_TRUE(RepeatedPhrases(lines({"苹果", "苹果汁", "苹果", "苹果酱"}), kPing, 2).empty());
}

TEST(LessonName, TheReadingsWithTonesAndTheCodePointsOfLessCommonHomophones) {
    const std::map<std::string, std::string> readings = {
        {"他", "ta1"},  {"她", "ta1"},  {"它", "ta1"},  {"们", "men5"},
        {"女", "nu:3"}, {"买", "mai3"}, {"卖", "mai4"}, {"迈", "mai4"}};
    const WordCounts counts = {{"他", 900}, {"她", 500}, {"它", 500}, {"卖", 40}, {"迈", 50}};
    // 她 and 它 are as common: the lower code leads.
    EXPECT_EQ(LessonSlug(ParseLesson("他她它们女"), readings, counts),
              "ta1-ta1u5979-ta1u5b83-men5-nv3");
    EXPECT_EQ(LessonSlug(ParseLesson("它她他女们"), readings, counts),
              "ta1u5b83-ta1u5979-ta1-nv3-men5");
    EXPECT_EQ(LessonSlug(ParseLesson("买卖迈他们"), readings, counts),
              "mai3-mai4u5356-mai4-ta1-men5");
    EXPECT_THROW(LessonSlug(ParseLesson("买卖迈他人"), readings, counts), std::runtime_error);
}

TEST(DictionaryOrder, ACardKeepsTheLeadingSensesThatItsMemoShowsWhole) {
    DictionarySources s = Sources(
        "大 大 [da4] /big; large; great/older (than another person)/greatly/(dialect) father/\n"
        "人 人 [ren2] /person/people/a very long sense that no memo would hold/\n"
        "大人 大人 [da4 ren5] /adult/grown-up/a very long sense that no memo would hold/\n");
    std::vector<std::string> asked;
    s.cardMeaningFits = [&](const std::string& meaning) {
        asked.push_back(meaning);
        return meaning.size() <= 48;
    };
    const auto build = BuildDictionary(s);
    ASSERT_EQ(build.lines.size(), 3u);
    EXPECT_EQ(build.lines[0].meaning, "/big; large; great/older (than another person)");
    EXPECT_EQ(build.lines[0].plain.substr(89), build.lines[0].meaning);
    EXPECT_EQ(build.cardSensesCut, 2u);
    // Only the lesson characters' cards are measured.
    EXPECT_EQ(asked, (std::vector<std::string>{"/big; large; great",
                                               "/big; large; great/older (than another person)",
                                               "/big; large; great/older (than another "
                                               "person)/greatly",
                                               "/greatly"}));
    EXPECT_EQ(build.lines[1].meaning, "/person/people/a very long sense that no memo would hold");

    // A sense too long for the memo on its own gives way to the next.
    s.cardMeaningFits = [](const std::string& meaning) { return meaning.size() <= 10; };
    EXPECT_EQ(BuildDictionary(s).lines[0].meaning, "/greatly");
    s.cardMeaningFits = [](const std::string& meaning) { return meaning.size() <= 7; };
    EXPECT_THROW(BuildDictionary(s), std::runtime_error);
}

TEST(WordCounts, JiebaLinesGiveEachWordItsLargestCount) {
    const auto counts = WordFrequencies(
        "AT&T 3 nz\n大学 20025 n\r\n大家 19177 n\n大学 5 n\n中 x f\n 12 n\n文化\n文章 0 n\n");
    EXPECT_EQ(counts.size(), 3u);
    EXPECT_EQ(counts.at("大学"), 20025);
    EXPECT_EQ(counts.at("大家"), 19177);
    EXPECT_EQ(counts.at("AT&T"), 3);
    const WordTags tags = WordTagsOf("大学 20025 n\n的 318825 uj\n中 x f\n大学 5 v\n");
    EXPECT_EQ(tags, (WordTags{{"大学", "n"}, {"的", "uj"}}));
}

TEST(WordCounts, RimeLinesAfterTheHeaderGiveEachWordTheSumOfItsWeights) {
    const auto weights = DictionaryWeights(
        "# Rime dictionary\n---\nname: pinyin_simp\n大家\tda jia\t99\n...\n\n"
        "大家\tda jia\t67803\n# 书记\tshu ji\t2989\n大夫\tda fu\t120\r\n大夫\tdai fu\t880\n"
        "鼥\tba\t0\n书包\tshu bao\n书店\tshu dian\t16x\n");
    EXPECT_EQ(weights, (WordCounts{{"大家", 67803}, {"大夫", 1000}}));
}

TEST(WordPlaces, AWordStandsAtTheWorseOfItsTwoPlaces) {
    // First list: 书记 1, 书籍 2, 马甲 5; second: 马甲 1, 书记 2, 书籍 3, 书店 4.
    const WordPlaces places(
        {{"书记", 7681}, {"书籍", 1055}, {"书写", 1055}, {"书店", 294}, {"马甲", 63}},
        {{"马甲", 11397}, {"书记", 2989}, {"书籍", 2191}, {"书店", 1615}});
    EXPECT_EQ(places.Of("书记"), (WordPlace{2, 1}));
    EXPECT_EQ(places.Of("书籍"), (WordPlace{3, 2}));  // equal counts share place 2
    EXPECT_EQ(places.Of("书写"), (WordPlace{5, 2}));  // after the second list's four
    EXPECT_EQ(places.Of("书店"), (WordPlace{4, 4}));
    EXPECT_EQ(places.Of("马甲"), (WordPlace{5, 1}));
    EXPECT_EQ(places.Of("书包"), (WordPlace{6, 5}));
    // 马甲, first in one list, follows 书店, fourth in both.
    EXPECT_LT(places.Of("书店"), places.Of("马甲"));
    EXPECT_LT(places.Of("马甲"), places.Of("书包"));
    EXPECT_TRUE(places.BothWithin("书籍", 3));
    EXPECT_FALSE(places.BothWithin("书写", 5));
}

TEST(DictionaryOrder, OnlyGb2312HanziWordsThatFitAreKept) {
    const auto build = BuildDictionary(
        Sources("110 110 [yao1 yao1 ling2] /emergency number/\n"
                "𰻞 𰻝 [biang2] /noodles/\n"
                "阿Q 阿Q [A1 Q] /Ah Q/\n"
                "中華人民共和國萬歲萬萬歲啊 中华人民共和国万岁万万岁啊 [x] /too long a word/\n"
                "傢伙 家伙 [jia1 huo5] /variant of 家伙[jia1 huo5]/\n"
                "家伙 家伙 [jia1 huo5] /guy/\n"
                "家伙 家伙 [jia1 huo5] /guy/\n"));
    EXPECT_EQ(Plain(build), (std::vector<std::string>{"家伙 jia1 huo5"}));
    EXPECT_EQ(build.notGb2312, 3u);
    EXPECT_EQ(build.wordTooLong, 1u);
    EXPECT_EQ(build.selfReferences, 1u);
    EXPECT_EQ(build.duplicates, 1u);
}

TEST(PhrasePage, TwoAndThreeCharacterWordsOfTheCharacterQualify) {
    const std::uint16_t da = 0xB4F3;
    EXPECT_FALSE(QualifiesAsPhrase(Gb("大"), da));
    EXPECT_TRUE(QualifiesAsPhrase(Gb("大家"), da));
    EXPECT_TRUE(QualifiesAsPhrase(Gb("大学生"), da));
    EXPECT_FALSE(QualifiesAsPhrase(Gb("大吃一惊"), da));
    EXPECT_FALSE(QualifiesAsPhrase(Gb("老大"), da));
}

TEST(PhrasePage, FirstPageIsTheFirstFiveQualifyingLinesInFileOrder) {
    std::vector<DictionaryLine> lines;
    for (const char* w :
         {"大", "大家", "老大", "大学", "大大", "大吃一惊", "大人", "大概", "大小"}) {
        DictionaryLine line;
        line.word = Gb(w);
        lines.push_back(line);
    }
    EXPECT_EQ(FirstPhrasePage(lines, 0xB4F3), (std::vector<std::size_t>{1, 3, 4, 6, 7}));
    EXPECT_EQ(CardLine(lines, 0xB4F3), 0u);
}
