// The voice directory's names: which syllables the lesson speaks, and the
// recording each name plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "lesson/voice_directory.h"
#include "tools/mkdata/dictionary_build.h"

inline constexpr std::size_t kVoiceCount = kVoiceEntries;

// Whether a syllable (lower case, "da4") has a recording that passes its
// checks. The pool's query decodes a syllable's recordings on first use.
using RecordedQuery = std::function<bool(const std::string& syllable)>;

// The recorded syllable that plays name: its lower-case form; empty when it
// has no recording. A neutral syllable is played only by a neutral recording
// of itself, never by a toned reading of its character.
std::string RecordedSyllable(const std::string& name, const RecordedQuery& recorded);

// Refuses a lesson whose card syllable (the pinyin of a code's card record)
// has no recording: throws std::runtime_error naming the character and the
// syllable ("汉 (han4): no human recording of this syllable; ...").
void RefuseUnrecordedCards(const std::vector<DictionaryLine>& lines,
                           const std::vector<std::uint16_t>& lessonCodes,
                           const RecordedQuery& recorded);

struct VoiceChoice {
    std::vector<std::string> names;     // in directory order
    std::vector<std::string> spokenAs;  // the recorded syllable each name plays
    std::size_t cardNames = 0;          // names[0, cardNames): the card syllables
    std::size_t pageNames = 0;          // then those of the first phrase pages
};

// The card syllables of the lesson codes (slot order), then the syllables the
// phrase window plays for the first page of each code's phrase list, then the
// most frequent recorded syllables (by the frequency of the words whose
// primary line holds them). A name plays the recording of its lower-case
// form (RecordedSyllable). Refuses a card syllable
// without a recording (RefuseUnrecordedCards); throws std::runtime_error when
// the first two groups need more than kVoiceCount names, a name is not a
// voice name (ValidVoiceName), a syllable has no recording, or too few
// syllables are recorded to fill the directory. The frequent syllables are
// queried in order until the directory is full.
VoiceChoice ChooseVoiceNames(const std::vector<DictionaryLine>& lines,
                             const std::vector<std::uint16_t>& lessonCodes,
                             const std::unordered_map<std::string, long long>& frequencies,
                             const RecordedQuery& recorded);
