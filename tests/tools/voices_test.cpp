#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "tools/mkdata/coverage.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/phrase_order.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/recording_candidates.h"
#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/recording_pool.h"
#include "tools/mkdata/sound_processing.h"
#include "tools/mkdata/voice_import.h"
#include "tools/mkdata/voice_names.h"
#include "tools/mkdata/wav.h"
#include "tools/mkdata/word_cut.h"

namespace {

DictionaryLine Line(const std::string& utf8, const std::string& pinyin) {
    DictionaryLine line;
    line.utf8Word = utf8;
    line.word = Gb2312Hanzi(utf8).value();
    line.pinyin = pinyin;
    return line;
}

RecordedQuery InSet(std::set<std::string> recorded) {
    return [recorded](const std::string& s) { return recorded.count(s) > 0; };
}

// Every syllable the lines speak.
std::set<std::string> Syllables(const std::vector<DictionaryLine>& lines) {
    std::set<std::string> syllables;
    for (const DictionaryLine& line : lines)
        for (const std::string& s : SpokenSyllables(line.pinyin.c_str())) syllables.insert(s);
    return syllables;
}

RecordedQuery Recorded(const std::vector<DictionaryLine>& lines) {
    return InSet(Syllables(lines));
}

// A sine whose frequency glides through the given points, evenly spaced in time.
std::vector<float> Glide(const std::vector<double>& hz, double seconds) {
    constexpr std::uint32_t kRate = 22050;
    std::vector<float> out(static_cast<std::size_t>(seconds * kRate));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double at = static_cast<double>(i) / static_cast<double>(out.size()) *
                          static_cast<double>(hz.size() - 1);
        const auto k = std::min(static_cast<std::size_t>(at), hz.size() - 2);
        const double f = hz[k] + (hz[k + 1] - hz[k]) * (at - static_cast<double>(k));
        phase += 2 * std::numbers::pi * f / kRate;
        out[i] = static_cast<float>(0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase));
    }
    return out;
}

bool Tone(const std::vector<double>& hz, int tone) {
    return CheckTone(TrackPitch(Glide(hz, 0.5), 22050), tone).ok;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t i) {
    return b[i] | (b[i + 1] << 8) | (b[i + 2] << 16) | (static_cast<std::uint32_t>(b[i + 3]) << 24);
}

}  // namespace

TEST(VoiceChoice, CardSyllablesThenPhrasePagesThenTheMostFrequent) {
    const std::vector<DictionaryLine> lines = {
        Line("大", "da4"),        Line("家", "jia1"), Line("学", "xue2"),
        Line("中", "zhong1"),     Line("文", "wen2"), Line("中文", "Zhong1 wen2"),
        Line("大人", "da4 ren5"), Line("的", "de5"),  Line("我", "wo3"),
        Line("是", "shi4"),       Line("不", "bu4"),  Line("了", "le5"),
        Line("在", "zai4"),       Line("有", "you3"), Line("个", "ge4"),
        Line("人", "ren2"),       Line("这", "zhe4"), Line("他", "ta1"),
        Line("们", "men5"),       Line("你", "ni3"),  Line("一", "yi1"),
        Line("就", "jiu4"),       Line("来", "lai2"), Line("去", "qu4"),
        Line("说", "shuo1"),      Line("要", "yao4"), Line("会", "hui4"),
        Line("好", "hao3"),       Line("吃", "chi1")};
    std::unordered_map<std::string, long long> frequencies;
    long long f = 1000;
    for (std::size_t i = 7; i < lines.size(); ++i) frequencies[lines[i].utf8Word] = f--;
    frequencies["吃"] = 5000;  // the most frequent of all

    auto recorded = Syllables(lines);
    recorded.erase("Zhong1");  // plays zhong1
    const VoiceChoice choice = ChooseVoiceNames(lines, {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4},
                                                frequencies, InSet(recorded));
    ASSERT_EQ(choice.names.size(), kVoiceCount);
    EXPECT_EQ(choice.cardNames, 5u);
    EXPECT_EQ(std::vector<std::string>(choice.names.begin(), choice.names.begin() + 8),
              (std::vector<std::string>{"da4", "jia1", "xue2", "zhong1", "wen2", "ren5", "Zhong1",
                                        "chi1"}));
    EXPECT_EQ(choice.spokenAs[5], "ren5");
    EXPECT_EQ(choice.spokenAs[6], "zhong1");
    EXPECT_EQ(choice.spokenAs[7], "chi1");
    EXPECT_EQ(choice.pageNames, 2u);  // "da4" is there already; the match is case-sensitive
    // 5 card and 2 page names leave 19 for the most frequent: chi1 first, then
    // the words of frequency 1000 down to 983 (shuo1).
    EXPECT_EQ(choice.names,
              (std::vector<std::string>{"da4",  "jia1", "xue2", "zhong1", "wen2", "ren5", "Zhong1",
                                        "chi1", "de5",  "wo3",  "shi4",   "bu4",  "le5",  "zai4",
                                        "you3", "ge4",  "ren2", "zhe4",   "ta1",  "men5", "ni3",
                                        "yi1",  "jiu4", "lai2", "qu4",    "shuo1"}));
}

TEST(VoiceChoice, ANeutralSyllableIsPlayedOnlyByANeutralRecording) {
    EXPECT_EQ(RecordedSyllable("Ren5", InSet({"ren5"})), "ren5");
    EXPECT_EQ(RecordedSyllable("ren5", InSet({"ren2"})), "");  // not 人's toned reading
    const std::vector<DictionaryLine> lines = {Line("大", "da4"), Line("大人", "da4 ren5"),
                                               Line("人", "ren2")};
    std::vector<DictionaryLine> moved = lines;
    EXPECT_EQ(MoveUnspokenPhrasesBack(moved, {0xB4F3}, InSet({"da4", "ren2"}), nullptr),
              std::vector<std::string>{});
    EXPECT_EQ(moved.size(), 2u);  // 大人 left: no phrase to take its place
    EXPECT_THROW(ChooseVoiceNames(lines, {0xB4F3}, {}, InSet({"da4", "ren2"})), std::runtime_error);
}

TEST(Coverage, TheCommonestCharactersEachCheckedAsALessonCharacter) {
    const WordCounts counts = {{"了", 883634}, {"的", 318825}, {"大学", 20025}, {"a", 9000},
                               {"題", 50000},  {"家", 700},    {"子", 700},     {"儿", 600},
                               {"大", 800},    {"大大", 100}};
    // 大: 20,025 + 800 + 2 x 100; 子 (U+5B50) before 家 (U+5BB6) at equal
    // counts; 題 is not GB2312.
    const std::vector<std::string> common = CommonestCharacters(counts, 7);
    EXPECT_EQ(common, (std::vector<std::string>{"了", "的", "大", "学", "子", "家", "儿"}));

    const std::vector<DictionaryLine> lines = {
        Line("了", "le5"), Line("的", "de5"),  Line("大", "da4"), Line("学", "xue2"),
        Line("子", "zi3"), Line("家", "jia1"), Line("儿", "er2")};
    const auto outline = [](std::uint16_t code) {
        if (code == 0xB6F9) throw std::runtime_error("儿 has no stroke data");
        return code == 0xBCD2 ? 0.9 : 0.97;  // 家 below the floor
    };
    const auto entries = MeasureCoverage(
        common, lines, InSet({"le5", "de5", "da4", "xue2", "jia1", "er2"}), outline, 0.92);
    const std::size_t firsts[] = {3, 6, 100};
    EXPECT_EQ(CoverageTable(entries, firsts),
              "| the commonest by jieba's counts | can stand in a lesson |\n|---|---|\n"
              "| 3 | 3 (100.0 %) |\n| 6 | 4 (66.7 %) |\n| 7 | 4 (57.1 %) |\n\n"
              "| rank | character | card reading | why it cannot |\n|---|---|---|---|\n"
              "| 5 | 子 | zi3 | no human recording of its card syllable |\n"
              "| 6 | 家 | jia1 | drawn at 0.900 alone (floor 0.92) |\n"
              "| 7 | 儿 | er2 | 儿 has no stroke data |\n");
}

TEST(VoiceChoice, TooManyPhraseSyllablesAreReported) {
    std::vector<DictionaryLine> lines = {Line("大", "da4"), Line("家", "jia1"), Line("学", "xue2"),
                                         Line("中", "zhong1"), Line("文", "wen2")};
    const char* words[] = {"大人", "大小", "大衣", "大地", "大米", "家人", "家里", "家乡",
                           "家长", "家具", "中国", "中心", "中午", "中间", "中年"};
    for (int i = 0; i < 15; ++i)
        lines.push_back(Line(words[i], "x" + std::string(1, static_cast<char>('a' + i)) + "1 q" +
                                           std::string(1, static_cast<char>('a' + i)) + "2"));
    const std::vector<std::uint16_t> codes = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4};
    EXPECT_THROW(ChooseVoiceNames(lines, codes, {}, Recorded(lines)), std::runtime_error);
    lines.resize(5);
    lines.push_back(Line("大人", "da4 ren2"));
    EXPECT_THROW(
        ChooseVoiceNames(lines, codes, {}, InSet({"da4", "jia1", "xue2", "zhong1", "wen2"})),
        std::runtime_error);  // no recording of ren2
}

TEST(VoiceChoice, ACardSyllableWithoutARecordingRefusesTheLesson) {
    const std::vector<DictionaryLine> lines = {Line("汉", "han4"), Line("语", "yu3")};
    try {
        RefuseUnrecordedCards(lines, {0xD3EF, 0xBABA}, InSet({"yu3"}));
        FAIL() << "not refused";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(),
                     "汉 (han4): no human recording of this syllable; choose another character");
    }
    EXPECT_NO_THROW(RefuseUnrecordedCards(lines, {0xD3EF, 0xBABA}, InSet({"yu3", "han4"})));
}

TEST(VoiceChoice, PageWordsGiveWayUntilTheVoicesFit) {
    // 5 card names and 22 page names; 大小姐 alone needs two of them (xiao3 jie3), and 大家
    // behind it none.
    std::vector<DictionaryLine> lines = {Line("大", "da4"), Line("家", "jia1"), Line("学", "xue2"),
                                         Line("中", "zhong1"), Line("文", "wen2")};
    for (const auto& [word, pinyin] : std::vector<std::pair<const char*, const char*>>{
             {"大学", "da4 xue2"},     {"大人", "da4 ren2"},   {"大小姐", "da4 xiao3 jie3"},
             {"大衣", "da4 yi1"},      {"大地", "da4 di4"},    {"大家", "da4 jia1"},
             {"家人", "jia1 ren2"},    {"家里", "jia1 li3"},   {"家乡", "jia1 xiang1"},
             {"家长", "jia1 zhang3"},  {"家具", "jia1 ju4"},   {"中国", "zhong1 guo2"},
             {"中心", "zhong1 xin1"},  {"中午", "zhong1 wu3"}, {"中间", "zhong1 jian1"},
             {"中年", "zhong1 nian2"}, {"文学", "wen2 xue2"},  {"文化", "wen2 hua4"},
             {"文章", "wen2 zhang1"},  {"文明", "wen2 ming2"}, {"文物", "wen2 wu3"},
             {"学生", "xue2 sheng1"},  {"学院", "xue2 yuan4"}, {"学校", "xue2 xiao4"},
             {"学习", "xue2 xi2"},     {"学期", "xue2 qi1"}})
        lines.push_back(Line(word, pinyin));
    const std::vector<std::uint16_t> codes = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4};
    // 大家's and 大小姐's further readings stay behind every word's first one.
    lines.push_back(Line("大家", "Da4 jia1"));
    lines.push_back(Line("大小姐", "Da4 xiao3 jie3"));
    EXPECT_THROW(ChooseVoiceNames(lines, codes, {}, Recorded(lines)), std::runtime_error);
    EXPECT_EQ(MovePhrasesBackToFitVoices(lines, codes, Recorded(lines)),
              std::vector<std::string>{"大小姐"});
    std::vector<std::string> page;
    for (std::size_t i : FirstPhrases(lines, 0xB4F3, 20)) page.push_back(lines[i].utf8Word);
    EXPECT_EQ(page, (std::vector<std::string>{"大学", "大人", "大衣", "大地", "大家", "大小姐",
                                              "大家", "大小姐"}));
    const VoiceChoice choice = ChooseVoiceNames(lines, codes, {{"大小姐", 5}}, Recorded(lines));
    EXPECT_EQ(choice.cardNames + choice.pageNames, 25u);
    EXPECT_EQ(choice.names.back(), "jie3");
}

TEST(VoiceChoice, AWordWithAnUnrecordedSyllableLeavesTheFirstPage) {
    const auto zhongLines = [] {
        std::vector<DictionaryLine> lines = {Line("中", "zhong1")};
        for (const char* w : {"中国", "中央", "中心", "中学", "中间", "中文", "中年"})
            lines.push_back(
                Line(w, std::string("zhong1 ") + (w == std::string("中央") ? "yang1" : "x1")));
        return lines;
    };
    const auto words = [](const std::vector<DictionaryLine>& lines) {
        std::vector<std::string> order;
        for (const DictionaryLine& line : lines) order.push_back(line.utf8Word);
        return order;
    };
    std::vector<DictionaryLine> lines = zhongLines();
    const auto moved = MoveUnspokenPhrasesBack(lines, {0xD6D0}, InSet({"zhong1", "x1"}));
    EXPECT_EQ(moved, std::vector<std::string>{"中央"});
    EXPECT_EQ(words(lines), (std::vector<std::string>{"中", "中国", "中心", "中学", "中间", "中文",
                                                      "中央", "中年"}));

    // A word's further reading, far behind, stays there: the word does not
    // stand twice near the top (老子 lao3 zi5, Lao3 zi3).
    lines = zhongLines();
    lines.push_back(Line("中央", "Zhong1 yang1"));
    MoveUnspokenPhrasesBack(lines, {0xD6D0}, InSet({"zhong1", "x1"}));
    EXPECT_EQ(words(lines), (std::vector<std::string>{"中", "中国", "中心", "中学", "中间", "中文",
                                                      "中央", "中年", "中央"}));

    // Nor does a further reading take its place: 京都 (Jing1 du1, Kyoto)
    // behind 京's page stays behind the words that stand once.
    lines = zhongLines();
    lines.insert(lines.begin() + 6, Line("中国", "Zhong1 x1"));
    MoveUnspokenPhrasesBack(lines, {0xD6D0}, InSet({"zhong1", "x1"}));
    EXPECT_EQ(words(lines), (std::vector<std::string>{"中", "中国", "中心", "中学", "中间", "中文",
                                                      "中央", "中国", "中年"}));

    // With no phrase behind the page to take its place, it leaves the list
    // (馆宾 among 馆's few words), and the words spoken in full keep theirs.
    lines = zhongLines();
    lines.resize(6);
    std::vector<std::string> leftOut;
    EXPECT_TRUE(
        MoveUnspokenPhrasesBack(lines, {0xD6D0}, InSet({"zhong1", "x1"}), &leftOut).empty());
    EXPECT_EQ(leftOut, std::vector<std::string>{"中央"});
    EXPECT_EQ(words(lines), (std::vector<std::string>{"中", "中国", "中心", "中学", "中间"}));
}

TEST(VoiceReadings, OnlyACharacterReadOneWayIsSoleAndTheCommonestLeads) {
    std::vector<CedictEntry> entries(5);
    entries[0].simplified = "国";
    entries[0].pinyin = "guo2";
    entries[1].simplified = "帼";
    entries[1].pinyin = "guo2";
    entries[2].simplified = "大";
    entries[2].pinyin = "da4";
    entries[3].simplified = "大";
    entries[3].pinyin = "dai4";
    entries[4].simplified = "虢";
    entries[4].pinyin = "Guo2";  // a surname only: still read guo2
    const std::string unihan =
        "U+56FD\tkMandarin\tguó\nU+5E3C\tkMandarin\tguó\nU+5927\tkMandarin\tdà dài\n"
        "U+8662\tkMandarin\tguó guō\n";
    const CharacterReadings readings = ReadCharacterReadings(entries, unihan);
    EXPECT_EQ(CheckReading(readings, "国", "guo2").fit, ReadingFit::Sole);
    EXPECT_EQ(CheckReading(readings, "国", "guo3").fit, ReadingFit::None);
    EXPECT_EQ(CheckReading(readings, "虢", "guo2").fit, ReadingFit::Primary);  // Unihan: guo1 too
    const ReadingCheck da = CheckReading(readings, "大", "da4");
    EXPECT_EQ(da.fit, ReadingFit::Primary);
    EXPECT_EQ(da.note, "also read dai4");
    const std::vector<std::string> available = {"帼", "虢", "国", "大"};
    EXPECT_EQ(RecordingCandidates("guo2", available, readings, {{"国", 30}, {"帼", 2}}, 5),
              (std::vector<std::string>{"国", "帼"}));
    EXPECT_EQ(RecordingCandidates("da4", available, readings, {}, 5),
              std::vector<std::string>{"大"});
    EXPECT_TRUE(RecordingCandidates("dai4", available, readings, {}, 5).empty());
}

TEST(VoiceRecordings, ManifestRowsAndTheirHashes) {
    const std::string abc = "abc";
    EXPECT_EQ(Sha256Hex(std::span<const std::uint8_t>(
                  reinterpret_cast<const std::uint8_t*>(abc.data()), abc.size())),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string header = "file\tcharacter\tsyllable\tsource\tsha256\taccepted\n";
    const std::string hash(64, 'a');
    const auto rows = ParseRecordingManifest(header + "56FD.mp3\t国\tguo2\tp/国.mp3\t" + hash +
                                             "\n5927.mp3\t大\tda4\tp\t" + hash + "\tread da4\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].character, "国");
    EXPECT_EQ(rows[1].accepted, "read da4");
    // A syllable cut out of a word: its word, place and cut points.
    const auto cut = ParseRecordingManifest(header + "5B66-751F.mp3\t生\tsheng5\tp\t" + hash +
                                            "\t\t学生\t2/2\t0.698-1.028\n");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].word, "学生");
    EXPECT_EQ(cut[0].place, 2u);
    EXPECT_EQ(cut[0].places, 2u);
    EXPECT_DOUBLE_EQ(cut[0].cutFrom, 0.698);
    EXPECT_DOUBLE_EQ(cut[0].cutTo, 1.028);
    EXPECT_EQ(CutPlace(cut[0]) + " " + CutPoints(cut[0]), "2/2 0.698-1.028");
    EXPECT_TRUE(rows[0].word.empty());
    for (const std::string& bad :
         {"x.mp3\t学\tsheng5\tp\t" + hash + "\t\t学生\t2/2\t0.1-0.2",  // not 生
          "x.mp3\t生\tsheng5\tp\t" + hash + "\t\t学生\t3/2\t0.1-0.2",
          "x.mp3\t生\tsheng5\tp\t" + hash + "\t\t学生\t2/2\t0.3-0.2",
          "x.mp3\t生\tsheng5\tp\t" + hash + "\t\t学生\t2/2",
          "x.mp3\t国\tguo2\tp\t" + hash.substr(1), "x.mp3\t国\tGuo2\tp\t" + hash,
          "../x.mp3\t国\tguo2\tp\t" + hash, "x.mp3\t国国\tguo2\tp\t" + hash,
          std::string("x.mp3\t国\tguo2\tp")})
        EXPECT_THROW(ParseRecordingManifest(header + bad + "\n"), std::runtime_error) << bad;
}

TEST(VoiceRecordings, AFileThatDiffersFromItsHashIsLeftOutWhenAskedFor) {
    const auto dir = std::filesystem::temp_directory_path() / "tf-voices-manifest";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "a.mp3") << "not the recording";
    std::ofstream(dir / "manifest.tsv") << "file\tcharacter\tsyllable\tsource\tsha256\n"
                                        << "a.mp3\t国\tguo2\tp\t" << std::string(64, '0') << "\n"
                                        << "b.mp3\t大\tda4\tp\t" << std::string(64, '0') << "\n";
    CharacterReadings readings;
    readings.cedict = {{"国", {"guo2"}}, {"大", {"da4"}}};
    readings.unihan = {{"国", {"guo2"}}, {"大", {"da4"}}};
    RecordingPool pool = LoadRecordings(dir.string(), readings, {});
    EXPECT_TRUE(pool.Rejected().empty());  // nothing read yet
    EXPECT_EQ(pool.Find("guo2"), nullptr);
    EXPECT_EQ(pool.Find("da4"), nullptr);
    EXPECT_TRUE(pool.Decoded().empty());
    ASSERT_EQ(pool.Rejected().size(), 2u);
    EXPECT_NE(pool.Rejected()[0].find("SHA-256"), std::string::npos);
    EXPECT_NE(pool.Rejected()[1].find("missing"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(VoiceRecordings, OnlyTheSyllablesAskedForAreDecodedCandidatesInTurn) {
    const auto dir = std::filesystem::temp_directory_path() / "tf-voices-lazy";
    std::filesystem::create_directories(dir);
    std::string manifest = "file\tcharacter\tsyllable\tsource\tsha256\n";
    auto add = [&](const std::string& file, const std::string& character,
                   const std::string& syllable, const std::vector<double>& hz) {
        std::vector<float> sound(4410, 0.0f);  // 0.2 s of silence around the glide
        const std::vector<float> glide = Glide(hz, 0.5);
        sound.insert(sound.end(), glide.begin(), glide.end());
        sound.resize(sound.size() + 4410, 0.0f);
        const auto wav = MakeWav(sound, 22050, 16);
        std::ofstream(dir / file, std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()), static_cast<long>(wav.size()));
        manifest += file + "\t" + character + "\t" + syllable + "\tp\t" + Sha256Hex(wav) + "\n";
    };
    add("a.wav", "国", "guo2", {220, 220});  // level: fails the rising tone
    add("b.wav", "帼", "guo2", {200, 300});
    add("c.wav", "大", "da4", {350, 200});
    std::ofstream(dir / "manifest.tsv") << manifest;
    CharacterReadings readings;
    readings.cedict = {{"国", {"guo2"}}, {"帼", {"guo2"}}, {"大", {"da4"}}};
    readings.unihan = {{"国", {"guo2"}}, {"帼", {"guo2"}}, {"大", {"da4"}}};

    RecordingPool pool = LoadRecordings(dir.string(), readings, {{"国", 30}, {"帼", 2}});
    EXPECT_TRUE(pool.Decoded().empty());
    const PoolRecording* guo2 = pool.Find("guo2");
    ASSERT_NE(guo2, nullptr);
    EXPECT_EQ(guo2->row.character, "帼");
    ASSERT_EQ(pool.Decoded().size(), 2u);  // 国 first, the commoner
    EXPECT_EQ(pool.Decoded()[0].row.character, "国");
    EXPECT_EQ(pool.Decoded()[0].fault.rfind("tone", 0), 0u);
    EXPECT_EQ(pool.Find("guo2"), guo2);
    EXPECT_EQ(pool.Find("xue2"), nullptr);  // no row
    EXPECT_EQ(pool.Decoded().size(), 2u);   // 大 not asked for: not decoded
    std::filesystem::remove_all(dir);
}

TEST(ToneCheck, SyntheticContours) {
    EXPECT_TRUE(Tone({220, 222, 220}, 1));
    EXPECT_FALSE(Tone({200, 300}, 1));
    EXPECT_TRUE(Tone({200, 300}, 2));  // 7 semitones up
    EXPECT_FALSE(Tone({220, 220}, 2));
    EXPECT_FALSE(Tone({220, 240}, 2));  // 1.5 semitones: too little
    EXPECT_FALSE(Tone({300, 200}, 2));
    EXPECT_TRUE(Tone({240, 180, 250}, 3));
    EXPECT_FALSE(Tone({180, 250}, 3));  // rises from its start: no dip
    EXPECT_TRUE(Tone({350, 200}, 4));   // 9.7 semitones down
    EXPECT_FALSE(Tone({300, 260}, 4));  // 2.5 semitones: too little
    EXPECT_FALSE(Tone({200, 300}, 4));
    // A neutral tone is short: 200 ms, not 500, and falls by at most 8 semitones.
    EXPECT_TRUE(CheckTone(TrackPitch(Glide({250, 240}, 0.2), 22050), 5).ok);
    EXPECT_FALSE(Tone({250, 240}, 5));
    EXPECT_FALSE(CheckTone(TrackPitch(Glide({450, 200}, 0.2), 22050), 5).ok);           // 9.4 st
    EXPECT_FALSE(CheckTone(TrackPitch(std::vector<float>(11025, 0.0f), 22050), 1).ok);  // silence
    const ToneCheck rise = CheckTone(TrackPitch(Glide({200, 300}, 0.5), 22050), 2);
    EXPECT_NEAR(rise.lowHz, 200, 12);
    EXPECT_NEAR(rise.highHz, 300, 12);
}

TEST(VoiceSound, EndLevelAndClippingAreMeasured) {
    std::vector<float> cut = Glide({220, 220}, 0.3);
    SoundFigures f = MeasureSound(cut, 22050);
    EXPECT_GT(f.tailDb, -3.0);  // ends at full level: cut off
    EXPECT_EQ(f.clipped, 0u);
    Fade(cut, 22050, 0.01, 0.05);
    cut[100] = 1.0f;
    f = MeasureSound(cut, 22050);
    EXPECT_LT(f.tailDb, -20.0);  // the last 10 ms of a 50 ms fade
    EXPECT_EQ(f.clipped, 1u);
    EXPECT_NEAR(f.seconds, 0.3, 0.001);
}

TEST(WordCut, TwoSyllablesAreSplitAtTheirBoundary) {
    // 0.2 s of silence, a syllable of 0.3 s, 60 ms between, a second of 0.3 s,
    // 0.2 s of silence: the second begins 0.5 s in.
    const auto word = [](float between) {
        std::vector<float> w(4410, 0.0f);
        const std::vector<float> one = Glide({300, 200}, 0.3);
        w.insert(w.end(), one.begin(), one.end());
        std::vector<float> gap = Glide({200, 200}, 0.06);
        for (float& s : gap) s *= between;
        w.insert(w.end(), gap.begin(), gap.end());
        const std::vector<float> two = Glide({220, 220}, 0.3);
        w.insert(w.end(), two.begin(), two.end());
        w.resize(w.size() + 4410, 0.0f);
        return w;
    };
    const auto at = [](std::size_t sample) { return static_cast<double>(sample) / 22050; };
    // A voiceless initial: the second begins where the first's voicing stops.
    auto spans = FindSyllableSpans(word(0.0f), 22050, {"da4", "ta1"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_NEAR(at(spans[1].from), 0.5, 0.02);
    EXPECT_EQ(spans[0].to, spans[1].from);
    EXPECT_NEAR(at(spans[0].from), 0.2 - 0.03, 0.02);  // 30 ms before the speech
    EXPECT_NEAR(at(spans[1].to), 0.86 + 0.05, 0.02);   // 50 ms after it
    // A nasal initial, voiced throughout: in the dip between the vowels.
    spans = FindSyllableSpans(word(0.1f), 22050, {"da4", "ma5"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_NEAR(at(spans[1].from), 0.53, 0.02);
    // Three syllables are not found in two voiced stretches of sound.
    EXPECT_TRUE(FindSyllableSpans(Glide({220, 220}, 0.05), 22050, {"da4", "ma5"}).empty());
    EXPECT_TRUE(VoicelessInitial("zhe5"));
    EXPECT_FALSE(VoicelessInitial("men5"));
}

TEST(WordCut, XueshengIsCutWhereTheVoicingOfXueStops) {
    // 学生 (xue2 sheng5) as read by hand in 10 ms frames of the decoded word:
    // xue's vowel is periodic from 0.48 s to 0.68 s (about 10 zero crossings a
    // frame), sh's noise starts at 0.69 s (56, then over 100 crossings).
    const std::vector<float> word =
        DecodeFiltered(std::string(TF_RECORDINGS_DIR) + "/5B66-751F.mp3");
    ASSERT_FALSE(word.empty());
    const auto spans = FindSyllableSpans(word, kRecordingRate, {"xue2", "sheng5"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_NEAR(static_cast<double>(spans[1].from) / kRecordingRate, 0.685, 0.02);
}

TEST(WordCut, TheWordsASyllableIsCutFromBestFirst) {
    const std::vector<WordFile> words = {{"a.mp3", "你好", "", ""},
                                         {"b.mp3", "好人", "", ""},
                                         {"c.mp3", "大好", "", ""},
                                         {"d.mp3", "一下", "", ""},
                                         {"e.mp3", "哪儿", "", ""}};
    CharacterReadings readings;
    readings.words = {{"你好", {"ni3 hao3"}},
                      {"好人", {"hao3 ren2"}},
                      {"大好", {"da4 hao3", "da4 hao4"}},
                      {"一下", {"yi1 xia4"}},
                      {"哪儿", {"na3 r5"}}};
    const auto placesOf = [&](const std::string& syllable) {
        std::vector<std::string> out;
        for (const SyllablePlace& p : SyllablePlaces(syllable, words, readings, {{"好人", 9}}))
            out.push_back(p.file->word + "/" + std::to_string(p.place));
        return out;
    };
    // Read so in every reading first, then the word's end (好人 is commoner).
    EXPECT_EQ(placesOf("hao3"), (std::vector<std::string>{"你好/2", "好人/1", "大好/2"}));
    EXPECT_TRUE(placesOf("ni3").empty());  // a third tone before a third is said as a second
    EXPECT_TRUE(placesOf("yi1").empty());  // 一 changes its tone before a syllable
    EXPECT_EQ(placesOf("xia4"), std::vector<std::string>{"一下/2"});
    EXPECT_TRUE(placesOf("na3").empty());  // erhua: 儿 joins the syllable before it
}

TEST(WavImage, HeaderIsTheCanonical44BytePcmHeader) {
    const std::vector<float> samples = {0.0f, 0.5f, -0.5f, 1.0f, -1.0f};
    const auto wav = MakeWav(samples, 22050, 16);
    ASSERT_EQ(wav.size(), 44u + 10u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(U32At(wav, 4), 36u + 10u);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32At(wav, 16), 16u);
    EXPECT_EQ(U32At(wav, 24), 22050u);
    EXPECT_EQ(U32At(wav, 28), 44100u);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(U32At(wav, 40), 10u);
    EXPECT_EQ(wav[46] | (wav[47] << 8), 16384);  // 0.5 rounded

    std::string error;
    const auto info = InspectWav(wav, error);
    ASSERT_TRUE(info) << error;
    EXPECT_EQ(info->frames, 5u);
    EXPECT_NEAR(info->peakDb, 0.0, 0.01);
}

TEST(WavImage, EightBitImagesStayEvenAndUnsigned) {
    const auto wav = MakeWav({0.0f, 1.0f, -1.0f}, 8000, 8);
    ASSERT_EQ(wav.size(), 44u + 2u);
    EXPECT_EQ(wav[44], 128);
    EXPECT_EQ(wav[45], 255);
    std::string error;
    EXPECT_TRUE(InspectWav(wav, error)) << error;
}

TEST(WavImage, DamagedImagesAreRejected) {
    const auto wav = MakeWav(std::vector<float>(100, 0.25f), 16000, 16);
    std::string error;
    auto shorter = wav;
    shorter.pop_back();
    EXPECT_FALSE(InspectWav(shorter, error));
    auto stereo = wav;
    stereo[22] = 2;
    EXPECT_FALSE(InspectWav(stereo, error));
    auto notPcm = wav;
    notPcm[20] = 3;
    EXPECT_FALSE(InspectWav(notPcm, error));
    EXPECT_FALSE(InspectWav(std::span<const std::uint8_t>(wav.data(), 20), error));
    // Canonical, but at a rate the program does not play.
    EXPECT_FALSE(InspectWav(MakeWav(std::vector<float>(100, 0.25f), 4000, 16), error));
    EXPECT_FALSE(InspectWav(MakeWav({}, 16000, 16), error));  // no samples
}
