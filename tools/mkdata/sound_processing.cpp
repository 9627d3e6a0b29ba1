#include "tools/mkdata/sound_processing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>

#include "tools/mkdata/source_text.h"
#include "tools/mkdata/word_cut.h"

namespace {

constexpr double kHighPassHz = 70;  // below the speaker's voice, above the pops
constexpr double kSilenceDb = 35;
constexpr double kPadBefore = 0.03;
constexpr double kPadAfter = 0.05;
constexpr double kFadeIn = 0.02;
constexpr double kFadeOut = 0.05;
constexpr double kCutEndDb = -25;  // the source ends closer than this to its speech level
// A syllable cut out of a word: short fades where it meets its neighbours, a
// level at those cuts at least this far below its loudest 10 ms (a cut in a
// dip, not in a vowel; a voiceless initial begins loud: its start is not
// judged), and speech at most kCutQuietDb below the word's.
constexpr double kCutFade = 0.015;
constexpr double kCutBoundaryDb = -3;
constexpr double kCutQuietDb = 15;

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::vector<float> Floats(const std::string& raw) {
    std::vector<float> samples(raw.size() / 4);
    std::memcpy(samples.data(), raw.data(), samples.size() * 4);
    return samples;
}

std::vector<float> Decode(const std::string& file, std::uint32_t rate) {
    const std::string command = "sox -R -q " + Quoted(file) +
                                " -t raw -e floating-point -b 32 -L -c 1 - rate -v " +
                                std::to_string(rate) + " 2>/dev/null";
    const auto raw = CommandOutput(command);
    if (!raw || raw->size() < 4) return {};
    return Floats(*raw);
}

// RMS of the first 10 ms.
double FirstRms(std::span<const float> samples, std::uint32_t rate) {
    const std::size_t n = std::min<std::size_t>(samples.size(), rate / 100);
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return n > 0 ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
}

}  // namespace

std::vector<float> Resample(const std::vector<float>& samples, std::uint32_t from, std::uint32_t to,
                            const std::string& workFile) {
    {
        std::ofstream out(workFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * 4));
        if (!out) throw std::runtime_error("cannot write " + workFile);
    }
    const std::string command = "sox -R -q -t raw -e floating-point -b 32 -L -c 1 -r " +
                                std::to_string(from) + " " + Quoted(workFile) +
                                " -t raw -e floating-point -b 32 -L -c 1 - rate -v " +
                                std::to_string(to);
    const auto raw = CommandOutput(command);
    if (!raw || raw->size() < 4) throw std::runtime_error("sox failed: " + command);
    return Floats(*raw);
}

void HighPass(std::vector<float>& samples, std::uint32_t rate, double cutoffHz) {
    // Bilinear-transform Butterworth biquad, run forward then backward (no phase shift).
    const double k = std::tan(std::numbers::pi * cutoffHz / rate);
    const double q = std::numbers::sqrt2 / 2;
    const double norm = 1 / (1 + k / q + k * k);
    const double b0 = norm;
    const double b1 = -2 * norm;
    const double b2 = norm;
    const double a1 = 2 * (k * k - 1) * norm;
    const double a2 = (1 - k / q + k * k) * norm;
    auto pass = [&](auto begin, auto end) {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (auto it = begin; it != end; ++it) {
            const double x = *it;
            const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            *it = static_cast<float>(y);
        }
    };
    pass(samples.begin(), samples.end());
    pass(samples.rbegin(), samples.rend());
}

std::vector<float> TrimSilence(const std::vector<float>& samples, std::uint32_t rate) {
    const std::size_t frame = std::max<std::size_t>(1, rate / 100);
    std::vector<double> level;
    for (std::size_t start = 0; start < samples.size(); start += frame) {
        double sum = 0;
        const std::size_t end = std::min(samples.size(), start + frame);
        for (std::size_t i = start; i < end; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        level.push_back(std::sqrt(sum / static_cast<double>(end - start)));
    }
    if (level.empty()) return {};
    const double loudest = *std::max_element(level.begin(), level.end());
    if (loudest <= 0) return {};
    const double threshold = loudest * std::pow(10.0, -kSilenceDb / 20.0);
    std::size_t first = 0;
    while (level[first] < threshold) ++first;
    std::size_t last = level.size() - 1;
    while (level[last] < threshold) --last;
    const auto before = static_cast<std::size_t>(kPadBefore * rate);
    const auto after = static_cast<std::size_t>(kPadAfter * rate);
    const std::size_t start = first * frame > before ? first * frame - before : 0;
    const std::size_t end = std::min(samples.size(), (last + 1) * frame + after);
    return std::vector<float>(samples.begin() + static_cast<long>(start),
                              samples.begin() + static_cast<long>(end));
}

void Fade(std::vector<float>& samples, std::uint32_t rate, double inSeconds, double outSeconds) {
    const std::size_t n = samples.size();
    const auto in = std::min(n, static_cast<std::size_t>(inSeconds * rate));
    const auto out = std::min(n, static_cast<std::size_t>(outSeconds * rate));
    for (std::size_t i = 0; i < in; ++i)
        samples[i] *=
            static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) /
                                                    static_cast<double>(in)));
    for (std::size_t i = 0; i < out; ++i)
        samples[n - 1 - i] *=
            static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) /
                                                    static_cast<double>(out)));
}

std::vector<float> DecodeFiltered(const std::string& path) {
    std::vector<float> decoded = Decode(path, kRecordingRate);
    HighPass(decoded, kRecordingRate, kHighPassHz);
    return decoded;
}

std::optional<PoolRecording> ProcessRecording(const std::string& path, RecordingRow row,
                                              const ReadingCheck& reading) {
    PoolRecording r;
    r.reading = reading;
    r.row = std::move(row);
    r.rate = kRecordingRate;
    std::vector<float> decoded = Decode(path, r.rate);
    if (decoded.size() < r.rate / 10) return std::nullopt;
    const bool cut = !r.row.word.empty();
    if (cut) {
        // The segment, measured before the filter as a whole recording is.
        const auto at = [&](double seconds) {
            return std::min(decoded.size(),
                            static_cast<std::size_t>(std::lround(seconds * r.rate)));
        };
        const std::size_t from = at(r.row.cutFrom);
        const std::size_t to = at(r.row.cutTo);
        if (to < from + r.rate / 10) return std::nullopt;
        r.word = MeasureSound(decoded, r.rate);
        const std::span<const float> segment(decoded.data() + from, to - from);
        r.source = MeasureSound(segment, r.rate);
        r.headDb = Dbfs(FirstRms(segment, r.rate)) - r.source.loudestDb;
        HighPass(decoded, r.rate, kHighPassHz);
        decoded = std::vector<float>(decoded.begin() + static_cast<long>(from),
                                     decoded.begin() + static_cast<long>(to));
    } else {
        r.source = MeasureSound(decoded, r.rate);
        HighPass(decoded, r.rate, kHighPassHz);
    }
    r.samples = TrimSilence(decoded, r.rate);
    r.figures = MeasureSound(r.samples, r.rate);
    const bool first = !cut || r.row.place == 1;
    const bool last = !cut || r.row.place == r.row.places;
    Fade(r.samples, r.rate, first ? kFadeIn : kCutFade, last ? kFadeOut : kCutFade);
    r.tone = CheckTone(TrackPitch(r.samples, r.rate), ToneOf(r.row.syllable));
    const SoundFigures faded = MeasureSound(r.samples, r.rate);
    r.figures.peakDb = faded.peakDb;
    r.figures.rmsDb = faded.rmsDb;
    if (r.reading.fit == ReadingFit::None)
        r.fault = "not read " + r.row.syllable;
    else if (r.source.clipped > 0)
        r.fault = "clipped";
    else if (last ? r.source.tailDb + r.source.speechDb - (cut ? r.word : r.source).speechDb >
                        kCutEndDb
                  : r.source.tailDb + r.source.speechDb - r.source.loudestDb > kCutBoundaryDb)
        r.fault = "ends mid-sound";
    else if (!first && !VoicelessInitial(r.row.syllable) && r.headDb > kCutBoundaryDb)
        r.fault = "starts mid-sound";
    else if (cut && r.source.speechDb < r.word.speechDb - kCutQuietDb)
        r.fault = "quieter than its word";
    else if (!r.tone.ok)
        r.fault = "tone: " + r.tone.verdict;
    return r;
}
