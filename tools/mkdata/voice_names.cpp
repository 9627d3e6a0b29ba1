#include "tools/mkdata/voice_names.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/source_text.h"

namespace {

// The syllables of the words' primary lines (each word's first line), most
// frequent first by the words' counts.
std::vector<std::string> FrequentSyllables(
    const std::vector<DictionaryLine>& lines,
    const std::unordered_map<std::string, long long>& frequencies) {
    std::map<std::string, long long> weight;
    std::set<std::string> wordsSeen;
    for (const DictionaryLine& line : lines) {
        if (!wordsSeen.insert(line.utf8Word).second) continue;
        const auto f = frequencies.find(line.utf8Word);
        if (f == frequencies.end()) continue;
        for (const std::string& s : Split(line.pinyin, ' ')) weight[s] += f->second;
    }
    std::vector<std::pair<long long, std::string>> ranked;
    for (const auto& [syllable, w] : weight) ranked.push_back({-w, syllable});
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::string> out;
    for (auto& [negWeight, syllable] : ranked) out.push_back(std::move(syllable));
    return out;
}

}  // namespace

std::string RecordedSyllable(const std::string& name, const RecordedQuery& recorded) {
    const std::string lower = LowerCase(name);
    return recorded(lower) ? lower : std::string();
}

void RefuseUnrecordedCards(const std::vector<DictionaryLine>& lines,
                           const std::vector<std::uint16_t>& lessonCodes,
                           const RecordedQuery& recorded) {
    for (std::uint16_t code : lessonCodes) {
        const std::size_t card = CardLine(lines, code);
        if (card == lines.size()) throw std::runtime_error("no card record for a lesson character");
        const DictionaryLine& line = lines[card];
        if (RecordedSyllable(line.pinyin, recorded).empty())
            throw std::runtime_error(line.utf8Word + " (" + LowerCase(line.pinyin) +
                                     "): no human recording of this syllable; choose another "
                                     "character");
    }
}

VoiceChoice ChooseVoiceNames(const std::vector<DictionaryLine>& lines,
                             const std::vector<std::uint16_t>& lessonCodes,
                             const std::unordered_map<std::string, long long>& frequencies,
                             const RecordedQuery& recorded) {
    RefuseUnrecordedCards(lines, lessonCodes, recorded);
    VoiceChoice choice;
    auto add = [&](const std::string& name) {
        if (!ValidVoiceName(name))
            throw std::runtime_error("voice name not usable: \"" + name + "\"");
        if (std::find(choice.names.begin(), choice.names.end(), name) != choice.names.end()) return;
        const std::string spoken = RecordedSyllable(name, recorded);
        if (spoken.empty()) throw std::runtime_error("no recording for the voice \"" + name + "\"");
        choice.names.push_back(name);
        choice.spokenAs.push_back(spoken);
    };
    for (std::uint16_t code : lessonCodes) {
        const std::size_t card = CardLine(lines, code);
        add(lines[card].pinyin);
    }
    choice.cardNames = choice.names.size();
    for (std::uint16_t code : lessonCodes) {
        for (std::size_t i : FirstPhrasePage(lines, code)) {
            for (const std::string& syllable : SpokenSyllables(lines[i].pinyin.c_str()))
                add(syllable);
        }
    }
    choice.pageNames = choice.names.size() - choice.cardNames;
    if (choice.names.size() > kVoiceCount)
        throw std::runtime_error("the first phrase pages need " +
                                 std::to_string(choice.names.size()) + " voices");

    for (const std::string& syllable : FrequentSyllables(lines, frequencies)) {
        if (choice.names.size() == kVoiceCount) break;
        if (std::find(choice.names.begin(), choice.names.end(), syllable) != choice.names.end() ||
            !recorded(syllable))
            continue;
        choice.names.push_back(syllable);
        choice.spokenAs.push_back(syllable);
    }
    if (choice.names.size() != kVoiceCount)
        throw std::runtime_error("not enough recorded syllables");
    return choice;
}
