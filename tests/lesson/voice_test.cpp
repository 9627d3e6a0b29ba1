// The pronunciation player: lookup in the voice directory, the recording read
// from the voice section, and what reaches the audio device.
#include "lesson/voice.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/runtime/runtime.h"
#include "data/byte_writer.h"
#include "data/descramble.h"
#include "data/lesson_file.h"
#include "lesson/sound.h"
#include "lesson/wav.h"
#include "tests/support/files.h"

namespace {

// A canonical 16-bit mono PCM image whose samples are a ramp from seed.
std::vector<std::uint8_t> WavImage(std::size_t samples, int seed, std::uint32_t rate = 8000) {
    std::vector<std::uint8_t> out;
    const auto data = static_cast<std::uint32_t>(samples * 2);
    for (char c : std::string("RIFF")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, 36 + data);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, 1);
    PutU32(out, rate);
    PutU32(out, rate * 2);
    PutU16(out, 2);
    PutU16(out, 16);
    for (char c : std::string("data")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, data);
    for (std::size_t i = 0; i < samples; ++i)
        PutU16(out, static_cast<std::uint16_t>(seed * 977 + i * 31));
    return out;
}

const char* const kNames[26] = {"da4",  "jia1", "xue2", "zhong1", "wen2",   "a",   "ba",
                                "ci2",  "de5",  "e4",   "fa1",    "ge4",    "he2", "ji4",
                                "ke3",  "le5",  "ma1",  "ni3",    "ou3",    "pa4", "qi1",
                                "ren2", "shi4", "ta1",  "wo3",    "zhuang4"};

// A lesson file whose voice section holds 26 recordings of different lengths.
struct VoiceFixture : testing::Test {
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("voice_test_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        path = (dir / "zw.dat").string();
        std::vector<std::uint8_t> file(lesson_file::kVoiceOffset, 0);
        for (int k = 0; k < 26; ++k) {
            images.push_back(WavImage(40 + 7 * static_cast<std::size_t>(k), k));
            directory[static_cast<std::size_t>(k)] =
                EncodeVoiceEntry(kNames[k], static_cast<std::int32_t>(images.back().size()));
            std::vector<std::uint8_t> stored = images.back();
            DescrambleStream(stored.data(), stored.size(), kVoiceFirstKeyIndex);
            file.insert(file.end(), stored.begin(), stored.end());
        }
        Write(file);
        SetMessageSink([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override {
        SetMessageSink({});
        std::filesystem::remove_all(dir);
    }
    void Write(const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path dir;
    std::string path;
    std::array<VoiceEntry, kVoiceEntries> directory{};
    std::vector<std::vector<std::uint8_t>> images;
    std::vector<std::string> messages;
};

}  // namespace

TEST(VoiceDirectory, FourLetterNamesHaveDivisorOne) {
    EXPECT_EQ(VoiceLengthDivisor(4), 1);
    EXPECT_EQ(EncodeVoiceEntry("jia1", 12345).lengthCode, 12345);
    const int divisors[] = {7, 5, 3, 1, 8, 6, 4};
    for (std::size_t n = 1; n <= 7; ++n) EXPECT_EQ(VoiceLengthDivisor(n), divisors[n - 1]);
}

TEST(VoiceDirectory, DecodesEntriesWrittenByHand) {
    const std::array<VoiceEntry, 3> directory = {{
        // 40956 % 4 = 0: key 4, "da4"; three letters, divisor 3: 13652 bytes.
        {{0x60, 0x65, 0x30, 0, 0, 0, 0, 0}, 40956},
        // 12345 % 4 = 1: key 1, "jia1"; four letters, divisor 1.
        {{0x6B, 0x68, 0x60, 0x30, 0, 0, 0, 0}, 12345},
        // 23 % 4 = 3: key 3, "a"; one letter, divisor 7: 3 bytes (truncated).
        {{0x62, 0, 0, 0, 0, 0, 0, 0}, 23},
    }};
    EXPECT_EQ(VoiceNameKey(40956), 4);
    EXPECT_EQ(VoiceNameKey(12345), 1);
    EXPECT_EQ(VoiceNameKey(-7), static_cast<std::uint8_t>(-3));  // the remainder's sign
    const VoiceLocation da = FindVoice(directory, "da4");
    const VoiceLocation jia = FindVoice(directory, "jia1");
    const VoiceLocation a = FindVoice(directory, "a");
    ASSERT_TRUE(da.found && jia.found && a.found);
    EXPECT_EQ(da.offset, 0);
    EXPECT_EQ(da.length, 13652);
    EXPECT_EQ(jia.offset, 13652);
    EXPECT_EQ(jia.length, 12345);
    EXPECT_EQ(a.offset, 13652 + 12345);
    EXPECT_EQ(a.length, 3);
    EXPECT_FALSE(FindVoice(directory, "`e0").found) << "names are compared unscrambled";
}

TEST_F(VoiceFixture, FirstRecordingStartsTheSectionAndTheLastFollowsTheOther25) {
    const VoiceLocation first = FindVoice(directory, "da4");
    ASSERT_TRUE(first.found);
    EXPECT_EQ(first.offset, 0);
    EXPECT_EQ(first.length, static_cast<std::int32_t>(images[0].size()));

    std::int64_t before = 0;
    for (int k = 0; k < 25; ++k)
        before += static_cast<std::int64_t>(images[static_cast<std::size_t>(k)].size());
    const VoiceLocation last = FindVoice(directory, "zhuang4");
    ASSERT_TRUE(last.found);
    EXPECT_EQ(last.offset, before);

    const VoiceRecording recording = ReadVoiceRecording(path, last);
    ASSERT_EQ(recording.status, VoiceReadStatus::Ok);
    EXPECT_EQ(recording.image, images[25]);
}

TEST_F(VoiceFixture, LookupsLeaveTheDirectoryUnchangedAndRepeat) {
    const VoiceRecording a = ReadVoiceRecording(path, FindVoice(directory, "wen2"));
    const VoiceRecording b = ReadVoiceRecording(path, FindVoice(directory, "wen2"));
    ASSERT_EQ(a.status, VoiceReadStatus::Ok);
    EXPECT_EQ(a.image, b.image);
    EXPECT_EQ(a.image, images[4]);
    ASSERT_TRUE(ParseWav(a.image).has_value());
    // Every name again, after lookups of all the others, in the opposite order:
    // a lookup that unscrambled names for good would no longer find them.
    for (int k = 25; k >= 0; --k) {
        std::int64_t offset = 0;
        for (int j = 0; j < k; ++j) offset += static_cast<std::int64_t>(images[j].size());
        const VoiceLocation at = FindVoice(directory, kNames[k]);
        ASSERT_TRUE(at.found) << kNames[k];
        EXPECT_EQ(at.offset, offset) << kNames[k];
        EXPECT_EQ(at.length, static_cast<std::int32_t>(images[k].size())) << kNames[k];
    }
    // The built-in directory likewise.
    const VoiceLocation da = FindVoice(VoiceDirectory, "da4");
    for (const char* name : {"jia1", "xue2", "zhong1", "wen2"})
        EXPECT_TRUE(FindVoice(VoiceDirectory, name).found) << name;
    const VoiceLocation again = FindVoice(VoiceDirectory, "da4");
    ASSERT_TRUE(da.found && again.found);
    EXPECT_EQ(again.offset, da.offset);
    EXPECT_EQ(again.length, da.length);
}

TEST_F(VoiceFixture, MatchIsExact) {
    for (const char* name : {"Da4", "da4 ", "", "da", "zhuang45", "da4\t"}) {
        EXPECT_FALSE(FindVoice(directory, name).found) << '"' << name << '"';
    }
    EXPECT_EQ(PlayVoice("Da4", directory, path), 0);
    EXPECT_EQ(PlayVoice("", directory, path), 0);
    EXPECT_EQ(messages, (std::vector<std::string>{"not found the voice", "not found the voice"}));
}

TEST_F(VoiceFixture, FoundRecordingIsPlayed) {
    EXPECT_EQ(PlayVoice("xue2", directory, path), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(VoiceFixture, FileEndingInsideTheRecordingIsNotPlayed) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    bytes.resize(bytes.size() - 10);
    Write(bytes);
    EXPECT_EQ(ReadVoiceRecording(path, FindVoice(directory, "zhuang4")).status,
              VoiceReadStatus::Damaged);
    EXPECT_EQ(PlayVoice("zhuang4", directory, path), 0);
    EXPECT_EQ(messages, std::vector<std::string>{"voice data damaged"});
    // The recordings before the cut are still good.
    EXPECT_EQ(PlayVoice("da4", directory, path), 1);
}

TEST_F(VoiceFixture, RecordingThatIsNotAWavImageIsNotPlayed) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    bytes[lesson_file::kVoiceOffset] ^= 0x20;  // "RIFF" no more
    Write(bytes);
    EXPECT_EQ(PlayVoice("da4", directory, path), 0);
    EXPECT_EQ(messages, std::vector<std::string>{"voice data damaged"});
}

TEST_F(VoiceFixture, MissingFileEndsTheProgramWithStatusOne) {
    const std::string missing = (dir / "none.dat").string();
    EXPECT_EXIT(
        {
            SetMessageSink([](const std::string& text) {
                std::fprintf(stderr, "message: %s\n", text.c_str());
            });
            PlayVoice("da4", directory, missing);
        },
        testing::ExitedWithCode(1), "message: file open error");
}

TEST_F(VoiceFixture, MissingFileUnderAnExitHandlerHandsItStatusOneAndPlaysNothing) {
    std::vector<int> exits;
    SetExitHandler([&](int status) { exits.push_back(status); });
    EXPECT_EQ(PlayVoice("da4", directory, (dir / "none.dat").string()), 0);
    SetExitHandler({});
    EXPECT_EQ(exits, std::vector<int>{1});
    EXPECT_EQ(messages, std::vector<std::string>{"file open error"});
}

TEST(Wav, RejectsImagesThatDoNotHoldTheirChunks) {
    std::vector<std::uint8_t> good = WavImage(10, 1);
    const auto info = ParseWav(good);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->dataOffset, 44U);
    EXPECT_EQ(info->dataLength, 20U);
    EXPECT_EQ(info->sampleRate, 8000U);

    std::vector<std::uint8_t> cut(good.begin(), good.end() - 1);
    EXPECT_FALSE(ParseWav(cut).has_value());
    std::vector<std::uint8_t> compressed = good;
    compressed[20] = 2;  // not PCM
    EXPECT_FALSE(ParseWav(compressed).has_value());
    EXPECT_FALSE(ParseWav({}).has_value());
    std::vector<std::uint8_t> huge = good;
    huge[40] = 0xFF;  // data chunk longer than the image
    huge[43] = 0x7F;
    EXPECT_FALSE(ParseWav(huge).has_value());
}

// A damaged rate far below real ones would keep the player busy for minutes.
TEST(Wav, RatesOfRealRecordingsAreAccepted) {
    for (std::uint32_t rate : {8000u, 11025u, 16000u, 22050u, 44100u, 48000u, 192000u}) {
        const auto info = ParseWav(WavImage(1000, 0, rate));
        ASSERT_TRUE(info.has_value()) << rate;
        EXPECT_EQ(info->sampleRate, rate);
    }
}

TEST(Wav, DamagedRatesAreRefused) {
    for (std::uint32_t rate : {0u, 1u, 30u, 7999u, 192001u, 0x40000001u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(ParseWav(WavImage(1000, 0, rate)).has_value()) << rate;
    }
}

// The disk driver writes what the device plays to a file. Before the device is
// unpaused SDL plays silence, so the recording may start after some zero bytes.
// A playback on the dummy driver comes first, as when other cases ran before:
// audio is then closed so that the next playback opens the disk driver.
TEST(Sound, SamplesReachTheDeviceUnchanged) {
    const std::string out = (std::filesystem::temp_directory_path() /
                             ("disk_audio_" + std::to_string(::getpid()) + ".raw"))
                                .string();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    PlayWavSync(WavImage(100, 1, 22050));
    ASSERT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0U);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", "1", 1);
    const std::vector<std::uint8_t> image = WavImage(4000, 3, 22050);
    PlayWavSync(image);
    const std::vector<std::uint8_t> played = ReadFileBytes(out);
    std::filesystem::remove(out);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);  // later cases open the dummy driver again
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<std::uint8_t> samples(image.begin() + 44, image.end());
    ASSERT_GE(played.size(), samples.size());

    const auto start = std::find_if(played.begin(), played.end(), [](auto b) { return b != 0; });
    const auto offset = static_cast<std::size_t>(start - played.begin());
    ASSERT_EQ(offset % 2, 0U) << "samples shifted by one byte";
    ASSERT_GE(played.size() - offset, samples.size());
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), start));
    EXPECT_TRUE(std::all_of(start + static_cast<std::ptrdiff_t>(samples.size()), played.end(),
                            [](auto b) { return b == 0; }))
        << "something but silence after the recording";
}
