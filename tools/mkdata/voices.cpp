#include "tools/mkdata/voices.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/source_text.h"

namespace {

constexpr double kTargetRms = 0.125;  // -18 dBFS
constexpr double kPeakCeiling = 0.95;
constexpr int kWordsPerMinute = 110;  // slower than espeak-ng's 175, for learners

struct Format {
    std::uint32_t rate;
    int bits;
};
constexpr Format kFormats[] = {{22050, 16}, {16000, 16}, {11025, 16},
                               {8000, 16},  {11025, 8},  {8000, 8}};

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

bool ValidName(const std::string& name) {
    if (name.empty() || name.size() > 7) return false;
    const char last = name.back();
    if (last < '1' || last > '5') return false;
    return std::all_of(name.begin(), name.end() - 1, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':';
    });
}

std::vector<float> TrimmedSamples(const std::string& source, std::uint32_t rate) {
    const std::string command = "sox -R -q " + Quoted(source) +
                                " -t raw -e floating-point -b 32 -L -c 1 - "
                                "silence 1 0.01 1% reverse silence 1 0.01 1% fade t 0.01 "
                                "reverse fade t 0.005 rate -v " +
                                std::to_string(rate);
    const auto raw = CommandOutput(command);
    if (!raw || raw->size() < 4) throw std::runtime_error("sox failed: " + command);
    std::vector<float> samples(raw->size() / 4);
    std::memcpy(samples.data(), raw->data(), samples.size() * 4);
    return samples;
}

}  // namespace

std::string SpokenForm(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == 'u' && i + 1 < name.size() && name[i + 1] == ':') {
            out += 'v';
            ++i;
            continue;
        }
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        out += c;
    }
    return out;
}

bool SpeaksOneSyllable(const std::string& spoken) {
    const auto phonemes =
        CommandOutput("espeak-ng -v cmn-latn-pinyin -q -x " + Quoted(spoken) + " 2>/dev/null");
    if (!phonemes) return false;
    std::string p = *phonemes;
    while (!p.empty() && (p.back() == '\n' || p.back() == ' ')) p.pop_back();
    while (!p.empty() && p.front() == ' ') p.erase(p.begin());
    if (p.empty() || p.find(' ') != std::string::npos || p.find('(') != std::string::npos)
        return false;
    return std::any_of(p.begin(), p.end(), [](char c) { return c >= '1' && c <= '5'; });
}

VoiceChoice ChooseVoiceNames(const std::vector<DictionaryLine>& lines,
                             const std::vector<std::uint16_t>& lessonCodes,
                             const std::unordered_map<std::string, long long>& frequencies) {
    VoiceChoice choice;
    auto add = [&](const std::string& name) {
        if (!ValidName(name)) throw std::runtime_error("voice name not usable: \"" + name + "\"");
        if (std::find(choice.names.begin(), choice.names.end(), name) == choice.names.end())
            choice.names.push_back(name);
    };
    for (std::uint16_t code : lessonCodes) {
        const std::size_t card = CardLine(lines, code);
        if (card == lines.size()) throw std::runtime_error("no card record for a lesson character");
        add(lines[card].pinyin);
    }
    choice.cardNames = choice.names.size();
    for (std::uint16_t code : lessonCodes) {
        for (std::size_t i : FirstPhrasePage(lines, code)) {
            for (const std::string& s : SpokenSyllables(lines[i].pinyin)) add(s);
        }
    }
    choice.pageNames = choice.names.size() - choice.cardNames;
    if (choice.names.size() > kVoiceCount)
        throw std::runtime_error("the first phrase pages need " +
                                 std::to_string(choice.names.size()) + " voices");

    // Syllable weights from the primary line of every word.
    std::map<std::string, long long> weight;
    std::set<std::string> wordsSeen;
    for (const DictionaryLine& line : lines) {
        if (!wordsSeen.insert(line.utf8Word).second) continue;
        const auto f = frequencies.find(line.utf8Word);
        if (f == frequencies.end()) continue;
        std::size_t start = 0;
        while (start < line.pinyin.size()) {
            std::size_t end = line.pinyin.find(' ', start);
            if (end == std::string::npos) end = line.pinyin.size();
            weight[line.pinyin.substr(start, end - start)] += f->second;
            start = end + 1;
        }
    }
    std::vector<std::pair<long long, std::string>> ranked;
    for (const auto& [syllable, w] : weight) {
        if (ValidName(syllable)) ranked.push_back({-w, syllable});
    }
    std::sort(ranked.begin(), ranked.end());
    for (const auto& [negWeight, syllable] : ranked) {
        if (choice.names.size() == kVoiceCount) break;
        if (std::find(choice.names.begin(), choice.names.end(), syllable) != choice.names.end())
            continue;
        if (SpeaksOneSyllable(SpokenForm(syllable))) choice.names.push_back(syllable);
    }
    if (choice.names.size() != kVoiceCount)
        throw std::runtime_error("not enough speakable syllables");
    return choice;
}

VoiceBuild BuildVoices(const std::vector<std::string>& names, std::size_t byteBudget,
                       const std::string& workDir) {
    std::vector<std::string> spokenFiles;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string spoken = SpokenForm(names[i]);
        if (!SpeaksOneSyllable(spoken))
            throw std::runtime_error("espeak-ng does not read \"" + spoken + "\" as one syllable");
        const std::string file = workDir + "/voice" + std::to_string(i) + ".wav";
        const std::string command = "espeak-ng -v cmn-latn-pinyin -s " +
                                    std::to_string(kWordsPerMinute) + " -w " + Quoted(file) + " " +
                                    Quoted(spoken) + " 2>&1";
        if (!CommandOutput(command)) throw std::runtime_error("espeak-ng failed: " + command);
        spokenFiles.push_back(file);
    }
    for (const Format& format : kFormats) {
        std::vector<std::vector<float>> voices;
        double target = kTargetRms;
        std::vector<double> rms;
        for (const std::string& file : spokenFiles) {
            voices.push_back(TrimmedSamples(file, format.rate));
            double sum = 0;
            double peak = 0;
            for (float s : voices.back()) {
                sum += static_cast<double>(s) * s;
                peak = std::max(peak, std::abs(static_cast<double>(s)));
            }
            rms.push_back(std::sqrt(sum / static_cast<double>(voices.back().size())));
            if (peak > 0) target = std::min(target, kPeakCeiling * rms.back() / peak);
        }
        VoiceBuild build;
        build.sampleRate = format.rate;
        build.bitsPerSample = format.bits;
        for (std::size_t i = 0; i < voices.size(); ++i) {
            const auto gain = static_cast<float>(rms[i] > 0 ? target / rms[i] : 1.0);
            for (float& s : voices[i]) s *= gain;
            SpokenRecording recording;
            recording.name = names[i];
            recording.wav = MakeWav(voices[i], format.rate, format.bits);
            std::string error;
            const auto info = InspectWav(recording.wav, error);
            if (!info) throw std::runtime_error("bad WAV image for " + names[i] + ": " + error);
            recording.info = *info;
            build.totalBytes += recording.wav.size();
            build.recordings.push_back(std::move(recording));
        }
        if (build.totalBytes <= byteBudget) return build;
    }
    throw std::runtime_error("the voices do not fit in " + std::to_string(byteBudget) + " bytes");
}
