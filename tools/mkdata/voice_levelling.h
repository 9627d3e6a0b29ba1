// The voice section's sounds: the chosen recordings evened to one level and
// stored at the best sample rate and width that fit the section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkdata/recording_pool.h"
#include "tools/mkdata/voice_names.h"
#include "tools/mkdata/wav.h"

struct SpokenRecording {
    std::string name;
    std::string spokenAs;
    std::vector<std::uint8_t> wav;  // plain image
    WavFigures info;
};

struct VoiceBuild {
    std::vector<SpokenRecording> recordings;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::size_t totalBytes = 0;
};

// Evens the recordings of the chosen names to one RMS (-18 dBFS, or lower so
// that no peak passes 0.95) and takes the first format whose images fit in
// byteBudget together: 16-bit before 8-bit, each at the highest rate that
// fits. workDir holds the intermediate files and, for listening, the images
// taken. Throws std::runtime_error when a name has no recording, a tool fails
// or nothing fits.
VoiceBuild BuildVoices(const VoiceChoice& choice, RecordingPool& pool, std::size_t byteBudget,
                       const std::string& workDir);
