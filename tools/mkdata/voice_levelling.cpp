#include "tools/mkdata/voice_levelling.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "tools/mkdata/sound_processing.h"

namespace {

constexpr double kTargetRms = 0.125;  // -18 dBFS
constexpr double kPeakCeiling = 0.95;

struct Format {
    std::uint32_t rate;
    int bits;
};
// Best first.
constexpr Format kFormats[] = {{22050, 16}, {20000, 16}, {18000, 16}, {16000, 16},
                               {11025, 16}, {8000, 16},  {11025, 8},  {8000, 8}};

double Rms(const std::vector<float>& samples) {
    double sum = 0;
    for (float s : samples) sum += static_cast<double>(s) * s;
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

double Peak(const std::vector<float>& samples) {
    double peak = 0;
    for (float s : samples) peak = std::max(peak, std::abs(static_cast<double>(s)));
    return peak;
}

// The recording each chosen name plays.
std::vector<const PoolRecording*> ChosenRecordings(const VoiceChoice& choice, RecordingPool& pool) {
    std::vector<const PoolRecording*> sources;
    for (std::size_t i = 0; i < choice.names.size(); ++i) {
        const PoolRecording* found = pool.Find(choice.spokenAs[i]);
        if (found == nullptr)
            throw std::runtime_error("no recording for the voice \"" + choice.names[i] + "\"");
        sources.push_back(found);
    }
    return sources;
}

// The images of the sources in one format, all at one RMS: the target, or
// lower where a source's peak would pass the ceiling.
VoiceBuild LevelledImages(const VoiceChoice& choice,
                          const std::vector<const PoolRecording*>& sources, const Format& format,
                          const std::string& workDir) {
    std::vector<std::vector<float>> voices;
    double target = kTargetRms;
    std::vector<double> rms;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const PoolRecording& source = *sources[i];
        voices.push_back(format.rate == source.rate
                             ? source.samples
                             : Resample(source.samples, source.rate, format.rate,
                                        workDir + "/voice" + std::to_string(i) + ".f32"));
        rms.push_back(Rms(voices.back()));
        const double peak = Peak(voices.back());
        if (peak > 0) target = std::min(target, kPeakCeiling * rms.back() / peak);
    }
    VoiceBuild build;
    build.sampleRate = format.rate;
    build.bitsPerSample = format.bits;
    for (std::size_t i = 0; i < voices.size(); ++i) {
        const auto gain = static_cast<float>(rms[i] > 0 ? target / rms[i] : 1.0);
        for (float& s : voices[i]) s *= gain;
        SpokenRecording recording;
        recording.name = choice.names[i];
        recording.spokenAs = choice.spokenAs[i];
        recording.wav = MakeWav(voices[i], format.rate, format.bits);
        std::string error;
        const auto info = InspectWav(recording.wav, error);
        if (!info) throw std::runtime_error("bad WAV image for " + choice.names[i] + ": " + error);
        recording.info = *info;
        build.totalBytes += recording.wav.size();
        build.recordings.push_back(std::move(recording));
    }
    return build;
}

// Each image as workDir/<index>-<name>.wav, for listening.
void WriteForListening(const VoiceBuild& build, const std::string& workDir) {
    for (const SpokenRecording& r : build.recordings) {
        std::ofstream out(
            workDir + "/" + std::to_string(&r - build.recordings.data()) + "-" + r.name + ".wav",
            std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(r.wav.data()),
                  static_cast<std::streamsize>(r.wav.size()));
    }
}

}  // namespace

VoiceBuild BuildVoices(const VoiceChoice& choice, RecordingPool& pool, std::size_t byteBudget,
                       const std::string& workDir) {
    const std::vector<const PoolRecording*> sources = ChosenRecordings(choice, pool);
    for (const Format& format : kFormats) {
        VoiceBuild build = LevelledImages(choice, sources, format, workDir);
        if (build.totalBytes > byteBudget) continue;
        WriteForListening(build, workDir);
        return build;
    }
    throw std::runtime_error("the voices do not fit in " + std::to_string(byteBudget) + " bytes");
}
