// The lesson data file of this build, read back with the tables compiled into
// the program from the same run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/descramble.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "glyph/char_index.h"
#include "lesson/voice_directory.h"
#include "tools/mkdata/frequency.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/lesson_data.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/source_text.h"
#include "tools/mkdata/verify.h"
#include "tools/mkdata/wav.h"

TEST(BuiltLessonData, EverySectionReadsBackThroughTheProgramsReaders) {
    // The cards of 大家学中文 as the program shows them.
    VerifyOptions options;
    options.codes = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4};
    options.cards = {
        {"da4",
         "big; large; great; older (than another person); eldest (as in da4 jie3); greatly; "
         "freely; fully; (dialect) father"},
        {"jia1",
         "home; family; (polite) my (sister, uncle etc); classifier for families or businesses"},
        {"xue2", "to learn; to study; to imitate; science; -ology"},
        {"zhong1",
         "within; among; in; middle; center; while (doing sth); during; (dialect) OK; all right"},
        {"wen2",
         "language; culture; writing; formal; literary; gentle; (old) classifier for coins; "
         "Kangxi radical 67"},
    };
    const VerifyReport report =
        VerifyLessonData(TF_LESSON_FILE, CharIndexTable, VoiceDirectory, options);
    for (const std::string& failure : report.failures) ADD_FAILURE() << failure;
    EXPECT_TRUE(report.ok()) << report.figures;
}

TEST(BuiltLessonData, VoicesAreSpokenSyllablesOfEvenLoudness) {
    std::uint64_t offset = lesson_file::kVoiceOffset;
    double minRms = 0;
    double maxRms = 0;
    std::uint32_t rate = 0;
    bool first = true;
    for (const VoiceEntry& stored : VoiceDirectory) {
        VoiceEntry entry = stored;
        UnscrambleVoiceName(entry);
        const auto length = static_cast<std::size_t>(VoiceRecordingLength(entry));
        auto image = lesson_file::ReadRange(TF_LESSON_FILE, offset, length);
        offset += length;
        ASSERT_EQ(image.status, lesson_file::ReadStatus::Ok);
        DescrambleStream(image.bytes.data(), image.bytes.size(), kVoiceFirstKeyIndex);
        std::string error;
        const auto info = InspectWav(image.bytes, error);
        ASSERT_TRUE(info) << entry.name << ": " << error;
        // One format for all: the highest rate at which the 26 fit their section.
        EXPECT_EQ(info->sampleRate, first ? info->sampleRate : rate) << entry.name;
        EXPECT_GE(info->sampleRate, 16000u) << entry.name;
        rate = info->sampleRate;
        EXPECT_EQ(info->bitsPerSample, 16) << entry.name;
        // One syllable: not silence, not a spelled-out string of letters.
        EXPECT_GT(info->seconds, 0.1) << entry.name;
        EXPECT_LT(info->seconds, 1.0) << entry.name;
        EXPECT_LT(info->peakDb, -0.1) << entry.name;  // no clipping
        if (first) minRms = maxRms = info->rmsDb;
        first = false;
        minRms = std::min(minRms, info->rmsDb);
        maxRms = std::max(maxRms, info->rmsDb);
    }
    EXPECT_GT(minRms, -24.0);
    EXPECT_LT(maxRms - minRms, 1.0);
}

TEST(BuiltLessonData, EachCharacterListsCommonWordsFirstAndNoWordTwiceAmongItsFirstTwenty) {
    const auto words = ReadWholeFile(TF_WORD_COUNTS);
    ASSERT_TRUE(words);
    const auto counts = WordFrequencies(*words);
    std::map<std::string, std::string> utf8;  // GB2312 word -> UTF-8, for the counts
    for (const auto& [word, count] : counts) {
        if (const auto gb = Gb2312Hanzi(word)) utf8[*gb] = word;
    }
    // The phrase search's lists: qualifying words in file order.
    std::map<std::uint16_t, std::vector<std::string>> lists;
    std::FILE* in = std::fopen(TF_LESSON_FILE, "rb");
    ASSERT_NE(in, nullptr);
    std::fseek(in, lesson_file::kDictionaryOffset, SEEK_SET);
    char line[kLineBufferSize];
    while (ReadDictionaryRecord(in, line) == RecordStatus::Record) {
        char word[kWordBufferSize];
        RecordWord(line, word);
        for (std::uint16_t code : lesson_file::kLessonCodes) {
            auto& list = lists[code];
            if (list.size() < 20 && QualifiesAsPhrase(word, code)) list.push_back(word);
        }
    }
    std::fclose(in);
    const std::set<std::string> rare = {Gb2312Hanzi("大大").value(), Gb2312Hanzi("中中").value(),
                                        Gb2312Hanzi("大话骰").value()};
    for (const auto& [code, list] : lists) {
        ASSERT_EQ(list.size(), 20u) << code;
        EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), 20u) << code;
        for (std::size_t i = 0; i < 5; ++i) {
            const std::string word = utf8.count(list[i]) ? utf8[list[i]] : "?";
            EXPECT_GE(counts.count(word) ? counts.at(word) : 0, 1000) << code << " " << word;
            EXPECT_FALSE(rare.count(list[i])) << code << " " << word;
        }
    }
}

TEST(BuiltLessonData, ASecondRunFromTheSameSourcesGivesTheSameBytes) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tallowfern-mkdata-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string dat = (dir / "zw.dat").string();
    const std::string tables = (dir / "lesson_tables.cpp").string();
    const std::string command =
        std::string(TF_MKDATA) + " --node-modules " + TF_NODE_MODULES + " --unihan " + TF_UNIHAN +
        " --words " + TF_WORD_COUNTS + " --weights " + TF_WORD_WEIGHTS + " --dat " + dat +
        " --tables " + tables + " --work " + (dir / "work").string() + " --help-table " +
        (dir / "rows.html").string() + " > " + (dir / "report.txt").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0)
        << ReadWholeFile((dir / "report.txt").string()).value_or("");
    const auto built = ReadWholeFile(TF_LESSON_FILE);
    const auto again = ReadWholeFile(dat);
    ASSERT_TRUE(built && again);
    EXPECT_EQ(built->size(), again->size());
    EXPECT_TRUE(*built == *again) << "zw.dat differs between two runs";
    EXPECT_EQ(ReadWholeFile(TF_LESSON_TABLES), ReadWholeFile(tables));
    // The help page's lesson table, from the cards and outlines built: the
    // rows of docs/help/index.html but 中's, which has one more sense; then
    // the first phrase page of 大.
    EXPECT_EQ(
        ReadWholeFile((dir / "rows.html").string()).value_or(""),
        R"(<tr><td><font color="#d00000" size="+2">大</font></td><td>da4 (dà)</td><td>big; large; great</td><td>3</td></tr>
<tr><td><font color="#d00000" size="+2">家</font></td><td>jia1 (jiā)</td><td>home; family</td><td>10</td></tr>
<tr><td><font color="#d00000" size="+2">学</font></td><td>xue2 (xué)</td><td>to learn; to study</td><td>8</td></tr>
<tr><td><font color="#d00000" size="+2">中</font></td><td>zhong1 (zhōng)</td><td>within; among; in</td><td>4</td></tr>
<tr><td><font color="#d00000" size="+2">文</font></td><td>wen2 (wén)</td><td>language; culture</td><td>4</td></tr>
<tr class="phrase"><td>大家</td><td>da4 jia1</td><td>everyone</td></tr>
<tr class="phrase"><td>大学</td><td>da4 xue2</td><td>university; college</td></tr>
<tr class="phrase"><td>大量</td><td>da4 liang4</td><td>great amount</td></tr>
<tr class="phrase"><td>大小</td><td>da4 xiao3</td><td>large and small</td></tr>
<tr class="phrase"><td>大陆</td><td>da4 lu4</td><td>continent; mainland</td></tr>
)");
    std::filesystem::remove_all(dir);
}

TEST(BuiltLessonData, TheNoticeOfEverySourceShipsBesideTheData) {
    // The last column of the source table in dat/README.md names the notices.
    const auto readme = ReadWholeFile(std::string(TF_SOURCE_DAT_DIR) + "/README.md");
    ASSERT_TRUE(readme);
    std::istringstream lines(*readme);
    std::vector<std::string> notices;
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("## ", 0) == 0)
            inTable = line.find("Sources of zw.dat") != std::string::npos;
        if (!inTable || line.rfind("| ", 0) != 0 || line.rfind("| source |", 0) == 0) continue;
        const std::string cell = line.substr(line.rfind('|', line.size() - 2));
        for (std::size_t at = cell.find('`'); at != std::string::npos;) {
            const std::size_t end = cell.find('`', at + 1);
            if (end == std::string::npos) break;
            notices.push_back(cell.substr(at + 1, end - at - 1));
            at = cell.find('`', end + 1);
        }
    }
    EXPECT_GE(notices.size(), 6u);
    notices.push_back("README.md");
    const std::filesystem::path built = std::filesystem::path(TF_LESSON_FILE).parent_path();
    for (const std::string& name : notices) {
        const auto shipped = ReadWholeFile((built / name).string());
        ASSERT_TRUE(shipped) << name << " is not beside zw.dat";
        EXPECT_EQ(*shipped, ReadWholeFile(std::string(TF_SOURCE_DAT_DIR) + "/" + name).value_or(""))
            << name;
    }
}
