// The voice section: which syllables are recorded, and their recordings
// spoken by espeak-ng (voice cmn-latn-pinyin), trimmed and evened with sox.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/mkdata/dictionary_build.h"
#include "tools/mkdata/wav.h"

inline constexpr std::size_t kVoiceCount = 26;

struct VoiceChoice {
    std::vector<std::string> names;  // in directory order
    std::size_t cardNames = 0;       // names[0, cardNames): the card syllables
    std::size_t pageNames = 0;       // then those of the first phrase pages
};

// The card syllables of the lesson codes (slot order), then the syllables the
// phrase window plays for the first page of each code's phrase list, then the
// most frequent syllables (by the frequency of the words whose primary line
// holds them) that espeak-ng speaks as one syllable. Throws std::runtime_error
// when the first two groups alone need more than kVoiceCount names or a name
// is longer than 7 bytes.
VoiceChoice ChooseVoiceNames(const std::vector<DictionaryLine>& lines,
                             const std::vector<std::uint16_t>& lessonCodes,
                             const std::unordered_map<std::string, long long>& frequencies);

// What espeak-ng is given for a name: lower case, "u:" written "v".
std::string SpokenForm(const std::string& name);
// Whether espeak-ng reads the text as one Mandarin syllable (its phoneme
// transcription: one word, no switch to another language, a tone number).
bool SpeaksOneSyllable(const std::string& spoken);

struct SpokenRecording {
    std::string name;
    std::vector<std::uint8_t> wav;  // plain image
    WavFigures info;
};

struct VoiceBuild {
    std::vector<SpokenRecording> recordings;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::size_t totalBytes = 0;
};

// Speaks, trims and evens every name; takes the highest sample rate and width
// (22050/16, 16000/16, 11025/16, 8000/16, 11025/8, 8000/8) whose images fit
// in byteBudget together. workDir holds the intermediate files. Throws
// std::runtime_error when a tool fails or nothing fits.
VoiceBuild BuildVoices(const std::vector<std::string>& names, std::size_t byteBudget,
                       const std::string& workDir);
