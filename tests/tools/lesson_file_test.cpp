#include "data/lesson_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "data/des.h"
#include "data/descramble.h"
#include "tools/mkdata/course_input.h"
#include "tools/mkdata/lesson_data.h"
#include "tools/mkdata/lesson_input.h"
#include "tools/mkdata/source_text.h"

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

TEST(LessonText, FiveDifferentHanziGiveTheirCodesInOrder) {
    const LessonInput lesson = ParseLesson("春夏秋冬天");
    EXPECT_EQ(lesson.characters, (std::vector<std::string>{"春", "夏", "秋", "冬", "天"}));
    EXPECT_EQ(lesson.codes,
              (std::vector<std::uint16_t>(std::begin(kLessonCodes), std::end(kLessonCodes))));
}

TEST(LessonText, EveryOtherTextIsRefusedWithItsReason) {
    const struct {
        const char* text;
        const char* reason;
    } kRefused[] = {
        {"", "has 0"},
        {"大家学中", "has 4"},
        {"大家学中文人", "has 6"},
        {"大家学大文", "大 stands twice"},
        {"大家学中題", "\"題\" is not one of"},  // traditional
        {"大家学中a", "\"a\" is not one of"},    // Latin
        {"大家学中Ａ", "\"Ａ\" is not one of"},  // full-width, in GB2312 but no hanzi
        {"大家学中。", "\"。\" is not one of"},  // punctuation, likewise
        {"大家学中\xFF", "FF at byte 12 never occurs in UTF-8"},
        {"大家学中\x80", "80 at byte 12 is a continuation byte"},
        {"大家学中\xE6\x96", "E6 96 at byte 12 is cut short"},
        {"大家\xE5\xAD学中", "E5 AD at byte 6 is cut short"},
        {"大家学中\xC0\xAF", "C0 AF at byte 12 is an overlong form of U+002F"},
        {"大家学中\xE0\x80\xAF", "E0 80 AF at byte 12 is an overlong form of U+002F"},
        {"大家学中\xF0\x80\x80\xAF", "F0 80 80 AF at byte 12 is an overlong form of U+002F"},
        {"大家学中\xED\xA0\x80", "ED A0 80 at byte 12 is the surrogate U+D800"},
        {"大家学中\xF4\x90\x80\x80", "F4 90 80 80 at byte 12 is U+110000, past U+10FFFF"},
        {"大家学中\xF5\x80\x80\x80", "past U+10FFFF"},
        {"`touch /tmp/x`", "has 14"},
        {"$(id)", "\"$\" is not one of"},
        {"大家学中'", "\"'\" is not one of"},
        {"大家学中\"", "\"\"\" is not one of"},
        {"大家学中;", "\";\" is not one of"},
        {"大家学中\n", "\"\n\" is not one of"},
        {"大家 学中", "\" \" is not one of"},
        {"大家/学中", "\"/\" is not one of"},
        {"..大家学", ". stands twice"},
    };
    for (const auto& r : kRefused) {
        EXPECT_THAT([&] { ParseLesson(r.text); },
                    testing::ThrowsMessage<std::runtime_error>(testing::HasSubstr(r.reason)))
            << r.text;
    }
}

TEST(CourseText, LessonsByLineWithTheTitleAndTheNameOfTheFile) {
    const CourseInput course = ParseCourse(
        "# Spring term\n"
        "title: Spring term, part 1\n"
        "\n"
        "春夏秋冬天\r\n"
        "  大家学中文\t\n"
        "# review\n"
        "天大家学中",
        "/home/t/My Course 2.txt");
    EXPECT_EQ(course.name, "my-course-2");
    EXPECT_EQ(course.title, "Spring term, part 1");
    ASSERT_EQ(course.lessons.size(), 3u);
    EXPECT_EQ(course.lessons[0].line, 4u);
    EXPECT_EQ(course.lessons[0].lesson.codes,
              (std::vector<std::uint16_t>(std::begin(kLessonCodes), std::end(kLessonCodes))));
    EXPECT_EQ(course.lessons[1].text, "大家学中文");
    EXPECT_EQ(course.lessons[2].line, 7u);  // a character may come back in a later lesson
    EXPECT_EQ(ParseCourse("大家学中文\n", "first-lessons.txt").title, "first-lessons");
    EXPECT_EQ(CourseName("../x/__Hanzi__.v1.txt"), "hanzi-v1");
    EXPECT_EQ(CourseMenuText(
                  12, ParseLesson("女绿大家学"),
                  {{"女", "nu:3"}, {"绿", "lu:4"}, {"大", "da4"}, {"家", "jia1"}, {"学", "xue2"}}),
              "Lesson 12: nü lü da jia xue");
    // Texts reach the generated tables as literals that hold nothing but themselves.
    EXPECT_EQ(CLiteral("a\"b\\c?\?=ü"), "\"a\\042b\\134c\\077\\077=\\303\\274\"");
}

TEST(CourseText, EveryBadCourseIsRefusedWithItsLineAndReason) {
    std::string many;
    for (int i = 0; i < 101; ++i) many += "大家学中文\n";
    const struct {
        const char* text;
        const char* path;
        const char* reason;
    } kRefused[] = {
        {"大家学中文\n大家学中\n", "c.txt", "line 2: a lesson is five characters"},
        {"大家学中文\n\n大大学中文\n", "c.txt", "line 3: 大 stands twice"},
        {"大家学中題\n", "c.txt", "line 1: \"題\" is not one of"},
        {"大家学中文\n\xC0\xAF\n", "c.txt", "line 2: invalid UTF-8"},
        {"大家学中文\ntitle: Late\n", "c.txt", "line 2: the title comes once"},
        {"title: $(id)\n大家学中文\n", "c.txt", "line 1: a title is 1 to 60 plain"},
        {"title: \n大家学中文\n", "c.txt", "line 1: a title is"},
        {"# only a comment\n\n", "c.txt", "no lesson in the course"},
        {many.c_str(), "c.txt", "line 101: a course has at most 100 lessons"},
        {"大家学中文\n", "课程.txt", "gives the course no name"},
    };
    for (const auto& r : kRefused) {
        EXPECT_THAT([&] { ParseCourse(r.text, r.path); },
                    testing::ThrowsMessage<std::runtime_error>(testing::HasSubstr(r.reason)))
            << r.text;
    }
}

TEST(LessonText, TheDecoderTakesEveryLengthToItsLimits) {
    const std::vector<char32_t> codes = {0,      0x7F,   0x80,   0x7FF,   0x800,
                                         0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
    std::string text;
    for (char32_t c : codes) text += EncodeUtf8(c);
    EXPECT_EQ(text.size(), 1 + 1 + 2 + 2 + 3 + 3 + 3 + 3 + 4 + 4u);
    EXPECT_EQ(DecodeUtf8(text), codes);
}
