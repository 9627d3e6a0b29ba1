#include "data/lesson_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/des.h"
#include "data/descramble.h"
#include "tools/mkdata/lesson_data.h"

namespace {

// 春 夏 秋 冬 天: another lesson than the default one.
constexpr std::uint16_t kLessonCodes[] = {0xB4BA, 0xCFC4, 0xC7EF, 0xB6AC, 0xCCEC};

std::vector<PlainOutline> Outlines(std::size_t bytesEach) {
    std::vector<PlainOutline> outlines;
    for (std::size_t p = 0; p < std::size(kLessonCodes); ++p) {
        PlainOutline o;
        o.code = kLessonCodes[p];
        o.record.assign(bytesEach, static_cast<std::uint8_t>(p + 1));
        for (std::uint8_t s = 1; s <= p + 2; ++s)
            o.strokeOrder.push_back(static_cast<std::uint8_t>(p + 3 - s));
        outlines.push_back(o);
    }
    return outlines;
}

std::vector<PlainVoice> Voices() {
    std::vector<PlainVoice> voices;
    for (int k = 0; k < kVoiceEntries; ++k)
        voices.push_back(
            {"v" + std::to_string(k) + "x1", std::vector<std::uint8_t>(100 + k, 0x55)});
    return voices;
}

}  // namespace

TEST(LessonFileLayout, SectionsLieWhereTheProgramReadsThem) {
    const auto outlines = Outlines(300);
    const auto voices = Voices();
    const std::vector<std::string> lines = {"first\n", "second\n"};
    const LessonData data = AssembleLessonData(outlines, voices, lines);

    // Index table -> outline blobs back to back from 0, scrambled from key index 33.
    std::size_t offset = 0;
    for (std::size_t p = 0; p < outlines.size(); ++p) {
        const CharIndexDecoded entry = DecodeCharIndexEntry(data.charIndex[p]);
        EXPECT_EQ(entry.code, kLessonCodes[p]);
        ASSERT_EQ(entry.size, 300);
        std::vector<std::uint8_t> blob(data.file.begin() + static_cast<long>(offset),
                                       data.file.begin() + static_cast<long>(offset + 300));
        DescrambleStream(blob.data(), blob.size(), kOutlineFirstKeyIndex);
        EXPECT_EQ(blob, outlines[p].record);
        offset += 300;
    }
    for (std::size_t i = offset; i < lesson_file::kStrokeOrderOffset; ++i)
        ASSERT_EQ(data.file[i], 0);

    // Stroke-order records: decrypted, the steps then zeros.
    for (std::size_t slot = 0; slot < 5; ++slot) {
        std::uint8_t record[32];
        std::copy_n(data.file.begin() + static_cast<long>(3504 + 32 * slot), 32, record);
        DesDecryptBuffer(record, kStrokeOrderKey, 32);
        const auto& order = outlines[slot].strokeOrder;
        EXPECT_TRUE(std::equal(order.begin(), order.end(), record));
        for (std::size_t s = order.size(); s < 32; ++s) EXPECT_EQ(record[s], 0);
    }

    // Voice directory -> recordings from 3664, each scrambled from key index 0.
    std::size_t voiceOffset = lesson_file::kVoiceOffset;
    for (int k = 0; k < kVoiceEntries; ++k) {
        VoiceEntry entry = data.voiceDirectory[static_cast<std::size_t>(k)];
        UnscrambleVoiceName(entry);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.name)), voices[k].name);
        const auto length = static_cast<std::size_t>(VoiceRecordingLength(entry));
        ASSERT_EQ(length, voices[k].wav.size());
        std::vector<std::uint8_t> image(
            data.file.begin() + static_cast<long>(voiceOffset),
            data.file.begin() + static_cast<long>(voiceOffset + length));
        DescrambleStream(image.data(), image.size(), kVoiceFirstKeyIndex);
        EXPECT_EQ(image, voices[k].wav);
        voiceOffset += length;
    }
    for (std::size_t i = voiceOffset; i < lesson_file::kDictionaryOffset; ++i)
        ASSERT_EQ(data.file[i], 0);

    // Dictionary lines from 662038 to the end.
    EXPECT_EQ(std::string(data.file.begin() + lesson_file::kDictionaryOffset, data.file.end()),
              "first\nsecond\n");
}

TEST(LessonFileLayout, OutlinesPastTheirSectionAreRefused) {
    EXPECT_THROW(AssembleLessonData(Outlines(701), Voices(), {}), std::runtime_error);
    EXPECT_NO_THROW(AssembleLessonData(Outlines(700), Voices(), {}));
}

TEST(LessonFileLayout, VoicesPastTheirSectionAreRefused) {
    auto voices = Voices();
    voices[0].wav.resize(kVoiceBudget + 1);
    EXPECT_THROW(AssembleLessonData(Outlines(10), voices, {}), std::runtime_error);
}

TEST(LessonFileLayout, GeneratedTablesSourceHoldsTheEncodedEntries) {
    const auto outlines = Outlines(8);
    const auto voices = Voices();
    const LessonData data = AssembleLessonData(outlines, voices, {});
    const std::string source = LessonTablesSource(data, outlines, voices);
    EXPECT_NE(source.find("lesson_file::kLessonCodes = {0xB4BA, 0xCFC4, 0xC7EF, 0xB6AC, 0xCCEC};"),
              std::string::npos);
    EXPECT_NE(source.find("CharIndexTable"), std::string::npos);
    EXPECT_NE(source.find("VoiceDirectory"), std::string::npos);
    EXPECT_NE(source.find("{" + std::to_string(data.charIndex[0].scaledCode) + ", " +
                          std::to_string(data.charIndex[0].scaledSize) + "}"),
              std::string::npos);
    EXPECT_NE(source.find("}, " + std::to_string(data.voiceDirectory[25].lengthCode) + "}"),
              std::string::npos);
}
