// The whole program against damaged copies of its data files: the lesson data
// file cut at and inside each section, with flipped bytes in each section,
// empty, missing or a folder, and the font short or missing. Each case runs
// the driver (drive_program.cpp) in a folder of its own; the program must
// report what it cannot use and go on to its normal end, or end with the
// status it gives for that failure, and never crash, hang or trip a sanitizer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/descramble.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "glyph/char_index.h"
#include "lesson/voice.h"
#include "lesson/voice_directory.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Bytes = std::string;

constexpr auto kChildTimeout = std::chrono::seconds(60);
constexpr std::uint32_t kWavRateOffset = 24;  // sample rate in a plain WAV header

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const Bytes& BuiltLesson() {
    static const Bytes bytes = ReadAll(fs::path(TF_DAT_DIR) / "zw.dat");
    return bytes;
}

const Bytes& BuiltFont() {
    static const Bytes bytes = ReadAll(fs::path(TF_DAT_DIR) / "hzk24k.dat");
    return bytes;
}

struct Range {
    std::size_t begin = 0, end = 0;
    std::size_t middle() const { return begin + (end - begin) / 2; }
};

// Where the sections and their pieces lie in the built file, from the
// program's own tables.
struct Layout {
    std::vector<Range> outlines;  // in index table order: 大 家 学 中 文
    std::vector<Range> voices;    // in directory order
    Range da4;                    // the recording of 大's reading
    Range daRecord;               // 大's dictionary line with its newline
    Range dictionary;
};

Layout MakeLayout() {
    Layout layout;
    std::size_t at = lesson_file::kOutlineOffset;
    for (const CharIndexEntry& entry : CharIndexTable) {
        const auto size = static_cast<std::size_t>(DecodeCharIndexEntry(entry).size);
        layout.outlines.push_back({at, at + size});
        at += size;
    }
    at = lesson_file::kVoiceOffset;
    for (VoiceEntry entry : VoiceDirectory) {
        UnscrambleVoiceName(entry);
        const auto length = static_cast<std::size_t>(VoiceRecordingLength(entry));
        layout.voices.push_back({at, at + length});
        at += length;
    }
    const VoiceLocation da4 = FindVoice(VoiceDirectory, "da4");
    const auto da4Start = lesson_file::kVoiceOffset + static_cast<std::size_t>(da4.offset);
    layout.da4 = {da4Start, da4Start + static_cast<std::size_t>(da4.length)};

    const Bytes& file = BuiltLesson();
    layout.dictionary = {lesson_file::kDictionaryOffset, file.size()};
    for (std::size_t line = lesson_file::kDictionaryOffset; line < file.size();) {
        const std::size_t newline = file.find('\n', line);
        if (newline == Bytes::npos) break;
        std::uint8_t plain[kLineBufferSize] = {};
        const std::size_t length = std::min<std::size_t>(newline - line + 1, kLineBufferSize);
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(line), length, plain);
        DescrambleLine(plain, length);
        if (plain[0] == 0xB4 && plain[1] == 0xF3 && plain[2] == ' ') {
            layout.daRecord = {line, newline + 1};
            break;
        }
        line = newline + 1;
    }
    return layout;
}

const Layout& L() {
    static const Layout layout = MakeLayout();
    return layout;
}

// How a case must end.
enum class Ending {
    Normal,         // every step done, File > Exit, status 0
    FontMissing,    // the font message, then status 0 at the first paint
    FileOpenError,  // "file open error", then status 1
};

struct Case {
    std::string name;
    // Turns the built files into the case's files; nullopt leaves a file out.
    std::function<void(std::optional<Bytes>& lesson, std::optional<Bytes>& font)> damage;
    Ending ending = Ending::Normal;
    // The message boxes in the order shown; none when empty. Any other message,
    // or one more or fewer, fails the case.
    std::vector<std::string> messages = {};
    // Where the damage decides how often: only these messages, any number of times.
    bool anyNumber = false;
    // The cards of 家 学 中 文 大 as "pinyin strokes"; "*" for any pinyin, empty
    // not checked.
    std::vector<std::string> cards = {};
    bool phraseWindow = false;  // the phrase window opened and was driven
    std::vector<std::string> driverArgs = {};
    bool lessonIsFolder = false;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.name;
}

// Damage helpers over the lesson bytes.
auto CutAt(std::function<std::size_t()> at) {
    return [at](std::optional<Bytes>& lesson, std::optional<Bytes>&) { lesson->resize(at()); };
}

auto Flip(std::function<Range()> range, std::size_t step = 1) {
    return [range, step](std::optional<Bytes>& lesson, std::optional<Bytes>&) {
        const Range r = range();
        for (std::size_t i = r.begin; i < r.end; i += step) (*lesson)[i] ^= '\xFF';
    };
}

// Rewrites the sample rate of a recording, keeping it scrambled.
auto SetSampleRate(std::uint32_t rate) {
    return [rate](std::optional<Bytes>& lesson, std::optional<Bytes>&) {
        const Range r = L().da4;
        auto* bytes = reinterpret_cast<std::uint8_t*>(lesson->data() + r.begin);
        DescrambleStream(bytes, r.end - r.begin, kVoiceFirstKeyIndex);
        for (int i = 0; i < 4; ++i)
            bytes[kWavRateOffset + i] = static_cast<std::uint8_t>(rate >> (8 * i));
        DescrambleStream(bytes, r.end - r.begin, kVoiceFirstKeyIndex);
    };
}

const char* const kNotFound = "lesson data file not found";
const char* const kDamaged = "lesson data file damaged";
const char* const kNoVoice = "not found the voice";
const char* const kVoiceDamaged = "voice data damaged";
const char* const kNoPhrases = "No phrases";

// text n times, then the messages after it.
std::vector<std::string> Times(std::size_t n, const std::string& text,
                               std::vector<std::string> then = {}) {
    std::vector<std::string> messages(n, text);
    messages.insert(messages.end(), then.begin(), then.end());
    return messages;
}

const std::vector<std::string> kGoodCards = {"jia1 10", "xue2 8", "zhong1 4", "wen2 4", "da4 3"};
const std::vector<std::string> kNoCards = {" 0", " 0", " 0", " 0", " 0"};
const std::vector<std::string> kStrokesOnly = {" 10", " 8", " 4", " 4", " 3"};

std::vector<Case> Cases() {
    const auto keep = [](auto&, auto&) {};
    const Ending normal = Ending::Normal;
    return {
        // The whole file.
        {.name = "LessonMissing",
         .damage = [](auto& lesson, auto&) { lesson.reset(); },
         // Each card's strokes, the speaker without a pinyin, the phrase search.
         .messages = Times(5, kNotFound, {kNoVoice, kNotFound}),
         .cards = kNoCards},
        {.name = "LessonEmpty",
         .damage = CutAt([] { return 0; }),
         .messages = Times(5, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = kNoCards},
        {.name = "LessonIsAFolder",
         .damage = [](auto& lesson, auto&) { lesson.reset(); },
         .messages = Times(5, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = kNoCards,
         .lessonIsFolder = true},
        {.name = "LessonRemovedDuringTheRun",
         .damage = keep,
         .ending = Ending::FileOpenError,
         .messages = {kFileOpenErrorMessage},
         .driverArgs = {"--remove-lesson-file"}},
        {.name = "Intact",
         .damage = keep,
         .messages = {},
         .cards = kGoodCards,
         .phraseWindow = true},
        // Clicks while the strokes of 大 are drawn. With the fast clock no
        // pause waits, so the last strokes follow at once and the program
        // ends after the card is done.
        {.name = "ClicksDuringTheAnimation",
         .damage = keep,
         .cards = {"da4 3"},
         .phraseWindow = true,
         .driverArgs = {"--during-animation"}},
        {.name = "ClicksDuringTheAnimationWithDamagedVoices",
         .damage = Flip(
             [] {
                 return Range{lesson_file::kVoiceOffset, L().voices.back().end};
             },
             3),
         // The card's speaker, then the two syllables of the first phrase.
         .messages = Times(3, kVoiceDamaged),
         .cards = {"da4 3"},
         .phraseWindow = true,
         .driverArgs = {"--during-animation"}},

        // Cut at each section boundary and inside each section.
        {.name = "CutInsideFirstOutline",
         .damage = CutAt([] { return L().outlines[0].middle(); }),
         .messages = Times(5, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = kNoCards},
        {.name = "CutAfterFirstOutline",
         .damage = CutAt([] { return L().outlines[0].end; }),
         .messages = Times(5, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = kNoCards},
        {.name = "CutAtOutlineSectionEnd",
         .damage = CutAt([] { return L().outlines.back().end; }),
         .messages = Times(5, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = kNoCards},
        {.name = "CutAtStrokeOrderTable",
         .damage = CutAt([] { return lesson_file::kStrokeOrderOffset; }),
         .messages = Times(5, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = kNoCards},
        // Records 0 (大) and 1 (家) whole, record 2 cut, 3 and 4 missing.
        {.name = "CutInsideStrokeOrderTable",
         .damage = CutAt([] { return lesson_file::kStrokeOrderOffset + 2 * 32 + 16; }),
         .messages = Times(3, kDamaged, {kNoVoice, kNoPhrases}),
         .cards = {" 10", " 0", " 0", " 0", " 3"}},
        {.name = "CutAtVoiceSection",
         .damage = CutAt([] { return lesson_file::kVoiceOffset; }),
         .messages = {kNoVoice, kNoPhrases},
         .cards = kStrokesOnly},
        {.name = "CutInsideVoiceOfDa",
         .damage = CutAt([] { return L().da4.middle(); }),
         .messages = {kNoVoice, kNoPhrases},
         .cards = kStrokesOnly},
        {.name = "CutAfterFirstVoice",
         .damage = CutAt([] { return L().voices[0].end; }),
         .messages = {kNoVoice, kNoPhrases},
         .cards = kStrokesOnly},
        {.name = "CutAtVoiceSectionEnd",
         .damage = CutAt([] { return L().voices.back().end; }),
         .messages = {kNoVoice, kNoPhrases},
         .cards = kStrokesOnly},
        {.name = "CutAtDictionary",
         .damage = CutAt([] { return lesson_file::kDictionaryOffset; }),
         .messages = {kNoVoice, kNoPhrases},
         .cards = kStrokesOnly},
        // 大's line, the first, loses its newline: the section has no record left.
        {.name = "CutInsideDictionaryRecordOfDa",
         .damage = CutAt([] { return L().daRecord.middle(); }),
         .messages = {kNoVoice, kNoPhrases},
         .cards = kStrokesOnly},
        {.name = "CutAfterDictionaryRecordOfDa",
         .damage = CutAt([] { return L().daRecord.end; }),
         .messages = {kNoPhrases},
         .cards = {"* 10", "* 8", "* 4", "* 4", "da4 3"}},
        {.name = "CutInsideDictionary",
         .damage = CutAt([] { return L().dictionary.middle(); }),
         .cards = kGoodCards,
         .phraseWindow = true},
        {.name = "CutBeforeLastNewline",
         .damage = CutAt([] { return L().dictionary.end - 1; }),
         .cards = kGoodCards,
         .phraseWindow = true},

        // Flipped bytes in each section.
        {.name = "FlippedOutlineSection",
         .damage = Flip([] {
             return Range{0, L().outlines.back().end};
         }),
         .messages = Times(5, kDamaged),
         .cards = {"jia1 0", "xue2 0", "zhong1 0", "wen2 0", "da4 0"},
         .phraseWindow = true},
        {.name = "FlippedOutlinePointsOfDa",
         .damage = Flip(
             [] {
                 return Range{L().outlines[0].begin + 24, L().outlines[0].end};
             },
             7),
         .messages = {kDamaged},
         .cards = {"jia1 10", "xue2 8", "zhong1 4", "wen2 4", "da4 0"},
         .phraseWindow = true},
        {.name = "FlippedStrokeOrderTable",
         .damage = Flip(
             [] {
                 return Range{lesson_file::kStrokeOrderOffset, lesson_file::kVoiceOffset};
             },
             5),
         .messages = Times(5, kDamaged),
         .cards = {"jia1 0", "xue2 0", "zhong1 0", "wen2 0", "da4 0"},
         .phraseWindow = true},
        {.name = "FlippedVoiceHeaders",
         .damage =
             [](auto& lesson, auto& font) {
                 for (const Range& voice : L().voices)
                     Flip(
                         [voice] {
                             return Range{voice.begin, voice.begin + 44};
                         },
                         3)(lesson, font);
             },
         .messages = Times(3, kVoiceDamaged),
         .cards = kGoodCards,
         .phraseWindow = true},
        {.name = "FlippedVoiceSamplesOfDa",
         .damage = Flip(
             [] {
                 return Range{L().da4.begin + 44, L().da4.end};
             },
             2),
         .cards = kGoodCards,
         .phraseWindow = true},
        {.name = "VoiceRateTooLow",
         .damage = SetSampleRate(30),
         .messages = Times(2, kVoiceDamaged),  // the card's and the first phrase's da4
         .cards = kGoodCards,
         .phraseWindow = true},
        {.name = "VoiceRateTooHigh",
         .damage = SetSampleRate(0x40000001),
         .messages = Times(2, kVoiceDamaged),  // the card's and the first phrase's da4
         .cards = kGoodCards,
         .phraseWindow = true},
        {.name = "FlippedDictionaryRecordOfDa",
         .damage = Flip([] { return L().daRecord; }),
         .messages = {kNoVoice},
         .cards = {"jia1 10", "xue2 8", "zhong1 4", "wen2 4", " 3"}},
        {.name = "FlippedDictionary",
         .damage = Flip([] { return L().dictionary; }, 11),
         .messages = {kNoVoice},  // a pinyin the flips have changed
         .anyNumber = true,
         .cards = {"* 10", "* 8", "* 4", "* 4", "* 3"}},
        // Lines run together far beyond the line limit.
        {.name = "DictionaryWithoutNewlines",
         .damage =
             [](auto& lesson, auto&) {
                 const std::size_t end = L().daRecord.end + 64 * 1024;
                 for (std::size_t i = L().dictionary.begin; i < end; ++i)
                     if ((*lesson)[i] == '\n') (*lesson)[i] = 'x';
             },
         .cards = {"* 10", "* 8", "* 4", "* 4", "* 3"},
         .phraseWindow = true},

        // The font.
        {.name = "FontMissing",
         .damage = [](auto&, auto& font) { font.reset(); },
         .ending = Ending::FontMissing,
         .messages = {"chinese font File not found,please check or "
                      "e_mail:help@tallowfern.example"}},
        {.name = "FontShort",
         .damage = [](auto&, auto& font) { font->resize(font->size() / 2 + 5); },
         .ending = normal,
         .cards = kGoodCards,
         .phraseWindow = true},
        {.name = "FontEmpty",
         .damage = [](auto&, auto& font) { font->clear(); },
         .cards = kGoodCards,
         .phraseWindow = true},
    };
}

struct ChildRun {
    bool timedOut = false;
    bool exited = false;
    int status = -1;
    int signal = 0;
    std::string log;  // the driver's standard error and output
};

ChildRun RunDriver(const fs::path& dir, const std::vector<std::string>& args) {
    ChildRun run;
    const fs::path log = dir / "driver.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);

    std::vector<std::string> argvStrings = {TF_DRIVER};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : argvStrings) argv.push_back(s.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, TF_DRIVER, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.log = "cannot start " + std::string(TF_DRIVER);
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + kChildTimeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFEXITED(status)) {
        run.exited = !run.timedOut;
        run.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.signal = WTERMSIG(status);
    }
    run.log = ReadAll(log);
    return run;
}

std::vector<std::string> Lines(const std::string& text, const std::string& kind) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    const std::string prefix = kind + ": ";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
}

class DamagedFiles : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string pattern = (fs::temp_directory_path() / "tf-damaged-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_directory(dir_ / "dat");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    fs::path dir_;
};

TEST_P(DamagedFiles, ProgramReportsAndEndsAsItShould) {
    const Case& c = GetParam();
    ASSERT_GT(BuiltLesson().size(), lesson_file::kDictionaryOffset);
    ASSERT_EQ(BuiltFont().size(), 487296u);
    ASSERT_LT(L().outlines.back().end, lesson_file::kStrokeOrderOffset);
    ASSERT_LE(L().voices.back().end, lesson_file::kDictionaryOffset);
    ASSERT_GT(L().daRecord.end, L().daRecord.begin);

    std::optional<Bytes> lesson = BuiltLesson();
    std::optional<Bytes> font = BuiltFont();
    c.damage(lesson, font);
    if (c.lessonIsFolder) {
        fs::create_directory(dir_ / "dat" / "zw.dat");
    } else if (lesson) {
        WriteAll(dir_ / "dat" / "zw.dat", *lesson);
    }
    if (font) WriteAll(dir_ / "dat" / "hzk24k.dat", *font);

    const ChildRun run = RunDriver(dir_, c.driverArgs);
    SCOPED_TRACE(run.log);
    if (std::getenv("TF_SHOW_LOG")) std::cout << run.log;  // for a look at passing runs
    ASSERT_FALSE(run.timedOut) << "no end within the time limit";
    ASSERT_EQ(run.signal, 0) << "killed by a signal";
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.log.find("Sanitizer"), std::string::npos);
    EXPECT_EQ(run.log.find("runtime error"), std::string::npos);

    const std::vector<std::string> messages = Lines(run.log, "message");
    if (c.anyNumber) {
        for (const std::string& shown : messages) {
            EXPECT_NE(std::find(c.messages.begin(), c.messages.end(), shown), c.messages.end())
                << "message \"" << shown << "\" not expected";
        }
    } else {
        EXPECT_EQ(messages, c.messages) << "the message boxes, in order";
    }
    const std::vector<std::string> exits = Lines(run.log, "exit");
    const std::vector<std::string> steps = Lines(run.log, "step");
    switch (c.ending) {
        case Ending::Normal:
            EXPECT_EQ(run.status, 0);
            ASSERT_FALSE(steps.empty());
            EXPECT_EQ(steps.back(), "exit");
            EXPECT_EQ(exits, std::vector<std::string>{"0"});
            if (!c.cards.empty()) {
                const std::vector<std::string> cards = Lines(run.log, "card");
                ASSERT_EQ(cards.size(), c.cards.size());
                for (std::size_t i = 0; i < cards.size(); ++i) {
                    const std::string& want = c.cards[i];
                    if (want.rfind("* ", 0) == 0) {
                        const std::string strokes = want.substr(1);
                        EXPECT_TRUE(cards[i].size() >= strokes.size() &&
                                    cards[i].compare(cards[i].size() - strokes.size(),
                                                     strokes.size(), strokes) == 0)
                            << "card " << i << ": " << cards[i];
                    } else {
                        EXPECT_EQ(cards[i], want) << "card " << i;
                    }
                }
            }
            if (c.driverArgs == std::vector<std::string>{"--during-animation"}) {
                // The click on 家 during the animation was ignored.
                EXPECT_EQ(Lines(run.log, "frame 2"), std::vector<std::string>{"raised"});
            }
            if (c.phraseWindow) {
                EXPECT_EQ(Lines(run.log, "phrases"), std::vector<std::string>{"100"});
                EXPECT_NE(std::find(steps.begin(), steps.end(), "close phrases"), steps.end());
            }
            break;
        case Ending::FontMissing:
            EXPECT_EQ(run.status, 0);
            EXPECT_TRUE(exits.empty());
            break;
        case Ending::FileOpenError:
            EXPECT_EQ(run.status, kFileOpenErrorStatus);
            EXPECT_TRUE(exits.empty());
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFiles, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return param.param.name;
                         });

}  // namespace
