// A recording made ready to speak: decoded with sox, filtered, trimmed,
// faded, measured and checked (the reading, clipping, the end of the source,
// the tone).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkdata/pitch.h"
#include "tools/mkdata/recording_candidates.h"
#include "tools/mkdata/recording_manifest.h"

// The rate recordings are decoded and processed at.
inline constexpr std::uint32_t kRecordingRate = 22050;

// High-pass filter (two passes of a 2-pole Butterworth, forward and backward)
// at cutoffHz.
void HighPass(std::vector<float>& samples, std::uint32_t rate, double cutoffHz);
// Cuts the silence (the 10 ms frames more than 35 dB below the loudest) at
// both ends, to pads of 30 ms before and 50 ms after the speech.
std::vector<float> TrimSilence(const std::vector<float>& samples, std::uint32_t rate);
// Raised-cosine fades over the first inSeconds and the last outSeconds.
void Fade(std::vector<float>& samples, std::uint32_t rate, double inSeconds, double outSeconds);
// The samples at another rate (sox, through workFile); throws
// std::runtime_error when sox fails.
std::vector<float> Resample(const std::vector<float>& samples, std::uint32_t from, std::uint32_t to,
                            const std::string& workFile);

// A recording of the pool, processed at its own rate and measured.
struct PoolRecording {
    RecordingRow row;
    ReadingCheck reading;
    std::vector<float> samples;  // filtered, trimmed, faded
    std::uint32_t rate = 0;
    SoundFigures source;   // the decoded file (a cut: its segment): clipping, its end
    SoundFigures word;     // a cut: the whole word
    double headDb = 0;     // a cut: its first 10 ms against its loudest
    SoundFigures figures;  // the processed sound; tailDb before the fade
    ToneCheck tone;
    std::string fault;  // empty when every check passes
    bool used = false;  // the recording that speaks its syllable
};

// The file at path decoded with sox at the recordings' rate and high-passed;
// empty when sox cannot decode it.
std::vector<float> DecodeFiltered(const std::string& path);

// Decodes the file at path with sox (a row with a word: the segment between
// its cut points, faded in and out over 15 ms where it meets its
// neighbours), processes it (HighPass, TrimSilence,
// Fade) and runs the checks (the reading, clipping, the end of the source or
// of the cut, the start of a cut, a cut's level against its word, the tone);
// nullopt when sox cannot decode it or gives less than 0.1 s.
std::optional<PoolRecording> ProcessRecording(const std::string& path, RecordingRow row,
                                              const ReadingCheck& reading);
