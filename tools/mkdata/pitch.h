// Measuring a spoken syllable: levels, the end of the sound, and the pitch
// contour (plain autocorrelation F0) checked against the syllable's tone.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr double kPitchHopSeconds = 0.01;

// An amplitude (1: full scale) in dBFS; -120 for silence.
double Dbfs(double amplitude);

// F0 in Hz every 10 ms (20 ms windows, 110-500 Hz); 0 where the frame is
// unvoiced (no autocorrelation of 0.5) or more than 35 dB below the loudest.
std::vector<double> TrackPitch(std::span<const float> samples, std::uint32_t rate);

struct ToneCheck {
    bool ok = false;
    double lowHz = 0;  // range of the voiced contour
    double highHz = 0;
    double startHz = 0;  // its first and last 30 ms
    double endHz = 0;
    std::string contour;  // F0 at 0, 25, 50, 75 and 100 % of the voiced part
    std::string verdict;  // what was measured against the rule
};

// Tone 1 stays level (within 3 semitones), tone 2 rises by at least 3
// semitones to its end from its low point in the first two thirds, tone 3
// dips (falls at least 1 semitone from its start to a low point not in its
// first fifth), tone 4 falls by at least 4 semitones to its end from its high
// point in the first half; tone 5 (neutral) is short and nearly level: its
// voiced run lasts at most 250 ms (a full tone of the speaker lasts longer)
// and spans at most 8 semitones (it may fall after a first, second or fourth tone). The longest
// voiced run (voiced frames up to 250 ms apart; its first 30 ms left out when it has 12 frames or
// more) is checked after octave-jump repair and a 5-frame median; one of fewer than 8 frames fails.
ToneCheck CheckTone(const std::vector<double>& pitchHz, int tone);

struct SoundFigures {
    double seconds = 0;
    double peakDb = -120;     // dBFS
    double rmsDb = -120;      // dBFS, whole sound
    double speechDb = -120;   // dBFS, RMS of the 10 ms frames within 30 dB of the loudest
    double loudestDb = -120;  // dBFS, RMS of the loudest 10 ms frame
    double tailDb = 0;        // RMS of the last 10 ms against speechDb
    std::size_t clipped = 0;  // samples at full scale (|s| >= 0.999)
};

SoundFigures MeasureSound(std::span<const float> samples, std::uint32_t rate);
