#include "tools/mkdata/word_cut.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/mkdata/pitch.h"

namespace {

constexpr double kSpeechDb = 35;          // frames this far below the loudest are silence
constexpr std::size_t kMinVoiced = 4;     // frames of vowel a syllable has at least
constexpr std::size_t kDipReach = 30;     // frames each side a dip is measured against
constexpr double kNoVoicingBreak = 1000;  // cost: a voiceless initial where voicing goes on
constexpr double kPadBefore = 0.03;
constexpr double kPadAfter = 0.05;

}  // namespace

bool VoicelessInitial(const std::string& syllable) {
    if (syllable.empty()) return false;
    const char c = static_cast<char>(syllable[0] | 0x20);
    return std::string("bpfdtgkhjqxzcs").find(c) != std::string::npos;
}

std::vector<SyllableSpan> FindSyllableSpans(std::span<const float> samples, std::uint32_t rate,
                                            const std::vector<std::string>& syllables) {
    const auto hop = static_cast<std::size_t>(kPitchHopSeconds * rate);
    const std::vector<double> pitch = TrackPitch(samples, rate);
    const std::size_t frames = pitch.size();
    if (syllables.empty() || frames == 0 || hop == 0) return {};
    // Energy over the pitch tracker's windows (two hops), smoothed over three.
    std::vector<double> raw(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        double sum = 0;
        const std::size_t end = std::min(samples.size(), f * hop + 2 * hop);
        for (std::size_t i = f * hop; i < end; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        raw[f] = Dbfs(std::sqrt(sum / static_cast<double>(end - f * hop)));
    }
    std::vector<double> db(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        const std::size_t from = f > 0 ? f - 1 : 0;
        const std::size_t to = std::min(frames, f + 2);
        double sum = 0;
        for (std::size_t g = from; g < to; ++g) sum += raw[g];
        db[f] = sum / static_cast<double>(to - from);
    }
    const double loudest = *std::max_element(db.begin(), db.end());
    std::size_t first = 0;
    while (db[first] < loudest - kSpeechDb) ++first;
    std::size_t last = frames - 1;
    while (db[last] < loudest - kSpeechDb) --last;
    const std::size_t end = last + 1;  // frames [first, end) hold the word

    std::vector<std::size_t> voicedBefore(frames + 1, 0);  // voiced frames in [0, f)
    for (std::size_t f = 0; f < frames; ++f) voicedBefore[f + 1] = voicedBefore[f] + (pitch[f] > 0);
    auto voiced = [&](std::size_t a, std::size_t b) { return voicedBefore[b] - voicedBefore[a]; };

    // The cost of the boundary before syllable k at frame f: its dip below the
    // lower of the loudest frames each side (negative), and for a voiceless
    // initial a penalty unless the voicing stops there.
    auto cost = [&](std::size_t k, std::size_t f) {
        const double left = *std::max_element(
            db.begin() + static_cast<long>(f > first + kDipReach ? f - kDipReach : first),
            db.begin() + static_cast<long>(f));
        const double right =
            *std::max_element(db.begin() + static_cast<long>(f + 1),
                              db.begin() + static_cast<long>(std::min(end, f + 1 + kDipReach)));
        double c = db[f] - std::min(left, right);
        if (VoicelessInitial(syllables[k]) && !(pitch[f - 1] > 0 && pitch[f] <= 0))
            c += kNoVoicingBreak;
        return c;
    };

    const std::size_t n = syllables.size();
    constexpr double kNone = std::numeric_limits<double>::infinity();
    // best[k][f]: the least cost of the boundaries before syllables 1..k with
    // the one before k at f; from[k][f] the boundary before k-1.
    std::vector<std::vector<double>> best(n, std::vector<double>(frames + 1, kNone));
    std::vector<std::vector<std::size_t>> from(n, std::vector<std::size_t>(frames + 1, first));
    best[0][first] = 0;
    for (std::size_t k = 1; k < n; ++k) {
        for (std::size_t f = first + 1; f + 1 < end; ++f) {
            const double here = cost(k, f);
            for (std::size_t g = first; g < f; ++g) {
                if (best[k - 1][g] == kNone || voiced(g, f) < kMinVoiced) continue;
                if (best[k - 1][g] + here < best[k][f]) {
                    best[k][f] = best[k - 1][g] + here;
                    from[k][f] = g;
                }
            }
        }
    }
    std::size_t at = frames + 1;
    double total = kNone;
    for (std::size_t f = first; f < end; ++f) {
        if (best[n - 1][f] < total && voiced(f, end) >= kMinVoiced) {
            total = best[n - 1][f];
            at = f;
        }
    }
    if (at > frames) return {};
    std::vector<std::size_t> bounds(n + 1);
    bounds[n] = end;
    for (std::size_t k = n - 1; k > 0; --k) {
        bounds[k] = at;
        at = from[k][at];
    }
    bounds[0] = first;

    // A boundary lies at the middle of its frame's window.
    std::vector<SyllableSpan> spans(n);
    const auto before = static_cast<std::size_t>(kPadBefore * rate);
    const auto after = static_cast<std::size_t>(kPadAfter * rate);
    for (std::size_t k = 0; k < n; ++k) {
        spans[k].from =
            k == 0 ? (first * hop > before ? first * hop - before : 0) : bounds[k] * hop + hop;
        spans[k].to = k + 1 == n ? std::min(samples.size(), end * hop + hop + after)
                                 : bounds[k + 1] * hop + hop;
    }
    return spans;
}
