#include "tools/mkdata/recording_candidates.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "tools/mkdata/readings.h"
#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/source_text.h"

CharacterReadings ReadCharacterReadings(const std::vector<CedictEntry>& entries,
                                        const std::string& unihanReadings) {
    CharacterReadings r;
    for (const CedictEntry& e : entries) {
        if (DecodeUtf8(e.simplified).size() == 1)
            r.cedict[e.simplified].insert(LowerCase(e.pinyin));
        else
            r.words[e.simplified].insert(LowerCase(e.pinyin));
    }
    for (const std::string& line : SplitLines(unihanReadings)) {
        if (line.rfind("U+", 0) != 0) continue;
        const auto cells = Split(line, '\t');
        if (cells.size() != 3 || cells[1] != "kMandarin") continue;
        const auto code = static_cast<char32_t>(std::strtoul(cells[0].c_str() + 2, nullptr, 16));
        auto& values = r.unihan[EncodeUtf8(code)];
        for (const std::string& value : Split(cells[2], ' ')) {
            if (auto numbered = NumberedPinyin(value)) values.push_back(*numbered);
        }
    }
    return r;
}

ReadingCheck CheckReading(const CharacterReadings& readings, const std::string& character,
                          const std::string& syllable) {
    ReadingCheck check;
    const auto cedict = readings.cedict.find(character);
    const auto unihan = readings.unihan.find(character);
    if (cedict == readings.cedict.end() || unihan == readings.unihan.end() ||
        unihan->second.empty() || !cedict->second.count(syllable))
        return check;
    std::set<std::string> others;
    for (const std::string& p : cedict->second)
        if (p != syllable) others.insert(p);
    for (const std::string& p : unihan->second)
        if (p != syllable) others.insert(p);
    if (others.empty()) {
        check.fit = ReadingFit::Sole;
    } else if (unihan->second.front() == syllable) {
        check.fit = ReadingFit::Primary;
        check.note = "also read";
        for (const std::string& p : others) check.note += " " + p;
    }
    return check;
}

ReadingCheck CheckCutReading(const CharacterReadings& readings, const std::string& word,
                             std::size_t place, std::size_t places, const std::string& syllable) {
    ReadingCheck check;
    const auto found = readings.words.find(word);
    if (found == readings.words.end() || place < 1) return check;
    std::size_t fitting = 0;
    std::string others;
    for (const std::string& pinyin : found->second) {
        const auto syllables = Split(pinyin, ' ');
        if (syllables.size() == places && syllables[place - 1] == syllable)
            ++fitting;
        else
            others += " " + pinyin;
    }
    if (fitting == found->second.size()) {
        check.fit = ReadingFit::Sole;
    } else if (fitting > 0) {
        check.fit = ReadingFit::Primary;
        check.note = "also read" + others;
    }
    return check;
}

std::vector<std::string> RecordingCandidates(
    const std::string& syllable, const std::vector<std::string>& available,
    const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies, std::size_t count) {
    std::vector<std::pair<long long, std::string>> sole;
    std::vector<std::pair<long long, std::string>> primary;
    for (const std::string& c : available) {
        const auto f = frequencies.find(c);
        const long long weight = f == frequencies.end() ? 0 : f->second;
        const ReadingFit fit = CheckReading(readings, c, syllable).fit;
        if (fit == ReadingFit::Sole) sole.push_back({-weight, c});
        if (fit == ReadingFit::Primary) primary.push_back({-weight, c});
    }
    auto& ranked = sole.empty() ? primary : sole;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& [weight, c] : ranked) {
        if (out.size() == count) break;
        out.push_back(c);
    }
    return out;
}
