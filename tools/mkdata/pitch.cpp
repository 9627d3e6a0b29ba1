#include "tools/mkdata/pitch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kMinHz = 110;  // below this a voice of the lesson is creak
constexpr double kMaxHz = 500;
constexpr double kWindowSeconds = 0.02;
constexpr double kVoicedCorrelation = 0.5;
constexpr double kQuietDb = 35;  // frames this far below the loudest are not tracked
// A neutral syllable is short and carries no contour of its own.
constexpr double kNeutralSeconds = 0.25;
constexpr double kNeutralRange = 8;  // semitones

double Semitones(double from, double to) {
    return 12.0 * std::log2(to / from);
}

double FrameRms(std::span<const float> samples, std::size_t start, std::size_t length) {
    double sum = 0;
    const std::size_t end = std::min(samples.size(), start + length);
    for (std::size_t i = start; i < end; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return end > start ? std::sqrt(sum / static_cast<double>(end - start)) : 0.0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Mean(const std::vector<double>& v, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += v[i];
    return sum / static_cast<double>(to - from);
}

}  // namespace

double Dbfs(double amplitude) {
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -120.0;
}

std::vector<double> TrackPitch(std::span<const float> samples, std::uint32_t rate) {
    const auto window = static_cast<std::size_t>(kWindowSeconds * rate);
    const auto hop = static_cast<std::size_t>(kPitchHopSeconds * rate);
    const auto minLag = static_cast<std::size_t>(rate / kMaxHz);
    const auto maxLag = static_cast<std::size_t>(rate / kMinHz) + 1;
    std::vector<double> hz;
    if (samples.size() < window || hop == 0 || maxLag + 2 >= window) return hz;

    double loudest = 0;
    for (std::size_t start = 0; start + window <= samples.size(); start += hop)
        loudest = std::max(loudest, FrameRms(samples, start, window));
    const double quiet = loudest * std::pow(10.0, -kQuietDb / 20.0);

    std::vector<double> frame(window);
    std::vector<double> r(maxLag + 2, 0.0);
    for (std::size_t start = 0; start + window <= samples.size(); start += hop) {
        double mean = 0;
        for (std::size_t i = 0; i < window; ++i) mean += samples[start + i];
        mean /= static_cast<double>(window);
        for (std::size_t i = 0; i < window; ++i) frame[i] = samples[start + i] - mean;
        if (loudest == 0 || FrameRms(samples, start, window) < quiet) {
            hz.push_back(0);
            continue;
        }
        double best = 0;
        for (std::size_t lag = minLag; lag <= maxLag + 1; ++lag) {
            double xy = 0;
            double xx = 0;
            double yy = 0;
            for (std::size_t i = 0; i + lag < window; ++i) {
                xy += frame[i] * frame[i + lag];
                xx += frame[i] * frame[i];
                yy += frame[i + lag] * frame[i + lag];
            }
            r[lag] = xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
            if (lag <= maxLag) best = std::max(best, r[lag]);
        }
        if (best < kVoicedCorrelation) {
            hz.push_back(0);
            continue;
        }
        // The shortest lag whose peak comes near the best: no period doubling.
        std::size_t pick = 0;
        for (std::size_t lag = minLag + 1; lag <= maxLag && pick == 0; ++lag) {
            if (r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1] && r[lag] >= 0.9 * best) pick = lag;
        }
        if (pick == 0) {
            hz.push_back(0);
            continue;
        }
        const double a = r[pick - 1];
        const double b = r[pick];
        const double c = r[pick + 1];
        const double denominator = a - 2 * b + c;
        const double shift =
            denominator != 0 ? std::clamp(0.5 * (a - c) / denominator, -0.5, 0.5) : 0.0;
        hz.push_back(rate / (static_cast<double>(pick) + shift));
    }
    return hz;
}

ToneCheck CheckTone(const std::vector<double>& pitchHz, int tone) {
    ToneCheck check;
    // The longest voiced run, bridging gaps of up to 250 ms (creak at the
    // bottom of a third tone, at the end of a fourth).
    std::size_t bestStart = 0;
    std::size_t bestEnd = 0;
    for (std::size_t i = 0; i < pitchHz.size();) {
        if (pitchHz[i] <= 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        std::size_t last = i;
        while (end < pitchHz.size() && end <= last + 25) {
            if (pitchHz[end] > 0) last = end;
            ++end;
        }
        if (last + 1 - i > bestEnd - bestStart) {
            bestStart = i;
            bestEnd = last + 1;
        }
        i = last + 1;
    }
    std::vector<double> run;
    for (std::size_t i = bestStart; i < bestEnd; ++i)
        if (pitchHz[i] > 0) run.push_back(pitchHz[i]);
    // The first 30 ms follow the consonant, not the tone.
    if (run.size() >= 12) run.erase(run.begin(), run.begin() + 3);
    if (run.size() < 8) {
        check.verdict = "no voiced part of 80 ms";
        return check;
    }
    // Octave jumps (creak, period doubling): no voice moves by 1.6 times
    // between voiced frames. The run is followed both ways from the frame
    // nearest its median.
    const double median = Median(run);
    std::size_t middle = 0;
    for (std::size_t i = 0; i < run.size(); ++i)
        if (std::abs(run[i] - median) < std::abs(run[middle] - median)) middle = i;
    auto repair = [](double& f, double previous) {
        if (f > 1.6 * previous) f /= 2;
        if (f < previous / 1.6) f *= 2;
    };
    for (std::size_t i = middle + 1; i < run.size(); ++i) repair(run[i], run[i - 1]);
    for (std::size_t i = middle; i-- > 0;) repair(run[i], run[i + 1]);
    // What is still an octave off the voice is creak, not its pitch.
    std::erase_if(run, [&](double f) { return f < median / 1.8 || f > median * 1.8; });
    if (run.size() < 8) {
        check.verdict = "no voiced part of 80 ms";
        return check;
    }
    std::vector<double> smooth(run.size());
    for (std::size_t i = 0; i < run.size(); ++i) {
        const std::size_t from = i >= 2 ? i - 2 : 0;
        const std::size_t to = std::min(run.size(), i + 3);
        smooth[i] = Median(std::vector<double>(run.begin() + static_cast<long>(from),
                                               run.begin() + static_cast<long>(to)));
    }
    const std::size_t n = smooth.size();
    check.lowHz = *std::min_element(smooth.begin(), smooth.end());
    check.highHz = *std::max_element(smooth.begin(), smooth.end());
    check.startHz = Mean(smooth, 0, 3);
    check.endHz = Mean(smooth, n - 3, n);
    char text[96];
    std::snprintf(text, sizeof text, "%.0f %.0f %.0f %.0f %.0f", smooth[0], smooth[(n - 1) / 4],
                  smooth[(n - 1) / 2], smooth[3 * (n - 1) / 4], smooth[n - 1]);
    check.contour = text;

    const double range = Semitones(check.lowHz, check.highHz);
    const auto lowAt =
        static_cast<std::size_t>(std::min_element(smooth.begin(), smooth.end()) - smooth.begin());
    const double highFirstHalf =
        *std::max_element(smooth.begin(), smooth.begin() + static_cast<long>(n / 2 + 1));
    switch (tone) {
        case 1:
            check.ok = range <= 3.0;
            std::snprintf(text, sizeof text, "level: range %.1f st (at most 3)", range);
            break;
        case 2: {
            const double lowBefore = *std::min_element(
                smooth.begin(), smooth.begin() + static_cast<long>(2 * n / 3 + 1));
            const double rise = Semitones(lowBefore, check.endHz);
            check.ok = rise >= 3.0;
            std::snprintf(text, sizeof text, "rises %.1f st (at least 3)", rise);
            break;
        }
        case 3: {
            const double fall = Semitones(check.lowHz, check.startHz);
            const double rise = Semitones(check.lowHz, check.endHz);
            check.ok = fall >= 1.0 && lowAt >= n / 5;
            std::snprintf(text, sizeof text, "dips %.1f st at %zu%%, then rises %.1f st", fall,
                          100 * lowAt / (n - 1), rise);
            break;
        }
        case 4: {
            const double fall = Semitones(check.endHz, highFirstHalf);
            check.ok = fall >= 4.0;
            std::snprintf(text, sizeof text, "falls %.1f st (at least 4)", fall);
            break;
        }
        default: {
            const double voiced = static_cast<double>(bestEnd - bestStart) * kPitchHopSeconds;
            check.ok = voiced <= kNeutralSeconds && range <= kNeutralRange;
            std::snprintf(text, sizeof text,
                          "neutral: %.0f ms voiced, range %.1f st (at most %.0f, %.0f)",
                          1000 * voiced, range, 1000 * kNeutralSeconds, kNeutralRange);
            break;
        }
    }
    check.verdict = text;
    return check;
}

SoundFigures MeasureSound(std::span<const float> samples, std::uint32_t rate) {
    SoundFigures f;
    if (samples.empty() || rate == 0) return f;
    f.seconds = static_cast<double>(samples.size()) / rate;
    double sum = 0;
    double peak = 0;
    for (float s : samples) {
        const double v = std::abs(static_cast<double>(s));
        sum += v * v;
        peak = std::max(peak, v);
        if (v >= 0.999) ++f.clipped;
    }
    f.peakDb = Dbfs(peak);
    f.rmsDb = Dbfs(std::sqrt(sum / static_cast<double>(samples.size())));
    const std::size_t frame = std::max<std::size_t>(1, rate / 100);
    std::vector<double> frames;
    for (std::size_t start = 0; start < samples.size(); start += frame)
        frames.push_back(FrameRms(samples, start, frame));
    const double loudest = *std::max_element(frames.begin(), frames.end());
    f.loudestDb = Dbfs(loudest);
    double speech = 0;
    std::size_t count = 0;
    for (double r : frames) {
        if (r >= loudest * std::pow(10.0, -30.0 / 20.0)) {
            speech += r * r;
            ++count;
        }
    }
    f.speechDb = Dbfs(count > 0 ? std::sqrt(speech / static_cast<double>(count)) : 0.0);
    const std::size_t tail = std::min(samples.size(), frame);
    f.tailDb = Dbfs(FrameRms(samples, samples.size() - tail, tail)) - f.speechDb;
    return f;
}
