// Finding the syllables of a word recording: where one ends and the next
// begins, from the energy and voicing of the sound and the word's pinyin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Whether a syllable ("sheng5") begins with a voiceless consonant (b p f d
// t g k h j q x zh ch sh z c s): its start breaks the voicing.
bool VoicelessInitial(const std::string& syllable);

struct SyllableSpan {
    std::size_t from = 0;  // samples
    std::size_t to = 0;
};

// The span of each syllable of a word spoken in one breath (samples at
// rate, high-passed). Every syllable has a vowel: at least 40 ms voiced.
// A syllable with a voiceless initial begins where the voicing before it
// stops; any other begins at the deepest energy dip between its neighbours'
// vowels. The word starts 30 ms before its first frame within 35 dB of the
// loudest and ends 50 ms after its last. Empty when the spans cannot be
// found (fewer voiced stretches than syllables, no sound).
std::vector<SyllableSpan> FindSyllableSpans(std::span<const float> samples, std::uint32_t rate,
                                            const std::vector<std::string>& syllables);
