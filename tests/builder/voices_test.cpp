#include "tools/mkdata/voices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/wav.h"

namespace {

DictionaryLine Line(const std::string& utf8, const std::string& pinyin) {
    DictionaryLine line;
    line.utf8Word = utf8;
    line.word = Gb2312Hanzi(utf8).value();
    line.pinyin = pinyin;
    return line;
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

    const VoiceChoice choice =
        ChooseVoiceNames(lines, {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4}, frequencies);
    ASSERT_EQ(choice.names.size(), kVoiceCount);
    EXPECT_EQ(choice.cardNames, 5u);
    EXPECT_EQ(std::vector<std::string>(choice.names.begin(), choice.names.begin() + 8),
              (std::vector<std::string>{"da4", "jia1", "xue2", "zhong1", "wen2", "ren5", "Zhong1",
                                        "chi1"}));
    EXPECT_EQ(choice.pageNames, 2u);  // "da4" is there already; the match is case-sensitive
    // 5 card and 2 page names leave 19 for the most frequent: chi1 first, then
    // the words of frequency 1000 down to 983 (shuo1).
    EXPECT_EQ(choice.names,
              (std::vector<std::string>{"da4",  "jia1", "xue2", "zhong1", "wen2", "ren5", "Zhong1",
                                        "chi1", "de5",  "wo3",  "shi4",   "bu4",  "le5",  "zai4",
                                        "you3", "ge4",  "ren2", "zhe4",   "ta1",  "men5", "ni3",
                                        "yi1",  "jiu4", "lai2", "qu4",    "shuo1"}));
}

TEST(VoiceChoice, TooManyPhraseSyllablesAreReported) {
    std::vector<DictionaryLine> lines = {Line("大", "da4"), Line("家", "jia1"), Line("学", "xue2"),
                                         Line("中", "zhong1"), Line("文", "wen2")};
    const char* words[] = {"大人", "大小", "大衣", "大地", "大米", "家人", "家里", "家乡",
                           "家长", "家具", "中国", "中心", "中午", "中间", "中年"};
    for (int i = 0; i < 15; ++i)
        lines.push_back(Line(words[i], "x" + std::string(1, static_cast<char>('a' + i)) + "1 q" +
                                           std::string(1, static_cast<char>('a' + i)) + "2"));
    EXPECT_THROW(ChooseVoiceNames(lines, {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4}, {}),
                 std::runtime_error);
}

TEST(VoiceSpeech, EspeakIsGivenLowerCaseWithUmlautAsV) {
    EXPECT_EQ(SpokenForm("Zhong1"), "zhong1");
    EXPECT_EQ(SpokenForm("lu:4"), "lv4");
    EXPECT_TRUE(SpeaksOneSyllable("da4"));
    EXPECT_TRUE(SpeaksOneSyllable("lv4"));
    EXPECT_FALSE(SpeaksOneSyllable("lu:4"));  // read as two syllables
    EXPECT_FALSE(SpeaksOneSyllable("da4 jia1"));
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
}
