#include "tools/mkdata/dictionary_build.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <tuple>

#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/meaning.h"
#include "tools/mkdata/source_text.h"

namespace {

struct Candidate {
    DictionaryLine line;
    std::vector<std::string> senses;  // plain ASCII, before the limits
    std::size_t sourceIndex = 0;
    bool reference = false;
};

bool PlainPinyin(const std::string& pinyin) {
    if (pinyin.empty() || pinyin.size() > kMaxPinyinBytes) return false;
    return std::all_of(pinyin.begin(), pinyin.end(),
                       [](char c) { return c >= 0x20 && c <= 0x7E && c != ']'; });
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

bool Capitalised(const std::string& pinyin) {
    return !pinyin.empty() && pinyin[0] >= 'A' && pinyin[0] <= 'Z';
}

std::size_t SenseCount(const std::string& meaning) {
    return static_cast<std::size_t>(std::count(meaning.begin(), meaning.end(), '/'));
}

// Whether sense names target ("家伙[jia1 huo5]") as a whole word: after a
// blank or the '|' between the traditional and the simplified form.
bool PointsTo(const std::string& sense, const std::string& target) {
    for (std::size_t at = sense.find(target); at != std::string::npos;
         at = sense.find(target, at + 1)) {
        if (at == 0 || sense[at - 1] == ' ' || sense[at - 1] == '|') return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> LessonWords(const std::vector<std::string>& words,
                                     const std::vector<std::string>& lessonCharacters,
                                     const WordPlaces& places, std::size_t maxPlace) {
    std::set<char32_t> lesson;
    for (const std::string& c : lessonCharacters) {
        for (char32_t code : DecodeUtf8(c)) lesson.insert(code);
    }
    std::vector<std::string> found;
    for (const std::string& word : words) {
        const std::vector<char32_t> characters = DecodeUtf8(word);
        const std::set<char32_t> distinct(characters.begin(), characters.end());
        const bool ofLesson = std::all_of(distinct.begin(), distinct.end(),
                                          [&](char32_t c) { return lesson.count(c) != 0; });
        if (distinct.size() >= 2 && ofLesson && places.BothWithin(word, maxPlace))
            found.push_back(word);
    }
    std::stable_sort(found.begin(), found.end(), [&](const std::string& a, const std::string& b) {
        return places.Of(a) < places.Of(b);
    });
    return found;
}

std::string FormatDictionaryLine(const std::string& gbWord, const std::string& pinyin,
                                 const std::string& meaning) {
    std::string line = gbWord;
    line.resize(kWordColumns, ' ');
    line += '[';
    line += pinyin;
    line += ']';
    line.resize(kMeaningColumn - 1, ' ');
    line += ' ';
    line += meaning;
    return line;
}

DictionaryBuild BuildDictionary(const DictionarySources& sources) {
    DictionaryBuild build;
    build.entriesRead = sources.entries.size();

    // Candidates grouped by word, in source order.
    std::map<std::string, std::vector<Candidate>> byWord;
    std::map<std::string, std::size_t> firstSeen;
    std::set<std::tuple<std::string, std::string, std::string>> seen;
    const auto& firsts = sources.firstCharacters;
    for (const CedictEntry& entry : sources.entries) {
        if (!firsts.empty() && std::none_of(firsts.begin(), firsts.end(), [&](const auto& c) {
                return entry.simplified.starts_with(c);
            }))
            continue;
        const auto gb = Gb2312Hanzi(entry.simplified);
        if (!gb) {
            ++build.notGb2312;
            continue;
        }
        if (gb->size() > kWordColumns) {
            ++build.wordTooLong;
            continue;
        }
        if (!PlainPinyin(entry.pinyin)) {
            ++build.badPinyin;
            continue;
        }
        std::vector<std::string> senses;
        const std::string self = entry.simplified + "[" + entry.pinyin + "]";
        bool selfReference = false;
        for (const std::string& sense : entry.senses) {
            std::string ascii = AsciiSense(sense);
            // "variant of 傢伙|家伙[jia1 huo5]" under 家伙 points to the line itself.
            if (IsReferenceSense(ascii) && PointsTo(sense, self)) {
                selfReference = true;
                continue;
            }
            if (!ascii.empty()) senses.push_back(std::move(ascii));
        }
        const auto meaning = FitMeaning(senses);
        if (!meaning) {
            ++(selfReference ? build.selfReferences : build.noMeaning);
            continue;
        }
        if (!seen.insert({*gb, entry.pinyin, *meaning}).second) {
            ++build.duplicates;
            continue;
        }
        if (SenseCount(*meaning) < senses.size()) ++build.sensesCut;

        Candidate candidate;
        candidate.line.utf8Word = entry.simplified;
        candidate.line.word = *gb;
        candidate.line.pinyin = entry.pinyin;
        candidate.line.meaning = *meaning;
        candidate.line.plain = FormatDictionaryLine(*gb, entry.pinyin, *meaning);
        candidate.sourceIndex = entry.sourceIndex;
        candidate.reference = IsReferenceSense(senses.front());
        candidate.senses = std::move(senses);
        firstSeen.emplace(entry.simplified, entry.sourceIndex);
        byWord[entry.simplified].push_back(std::move(candidate));
    }

    // Lines of each word.
    for (auto& [word, candidates] : byWord) {
        const bool single = DecodeUtf8(word).size() == 1;
        const auto reading = sources.readings.find(word);
        const std::string primary =
            single && reading != sources.readings.end() ? reading->second : std::string();
        auto key = [&](const Candidate& c) {
            const bool notPrimary = !primary.empty() && Lower(c.line.pinyin) != primary;
            return std::make_tuple(notPrimary, c.reference, Capitalised(c.line.pinyin),
                                   c.sourceIndex);
        };
        std::stable_sort(candidates.begin(), candidates.end(),
                         [&](const Candidate& a, const Candidate& b) { return key(a) < key(b); });
    }

    // The card record of each lesson character: the senses its memo shows whole.
    if (sources.cardMeaningFits) {
        for (const std::string& character : sources.lessonCharacters) {
            const auto found = byWord.find(character);
            if (found == byWord.end()) continue;
            DictionaryLine& card = found->second.front().line;
            const auto meaning = FitMeaning(found->second.front().senses, sources.cardMeaningFits);
            if (!meaning)
                throw std::runtime_error("the card meaning of " + character +
                                         " does not fit the memo");
            build.cardSensesCut += found->second.front().senses.size() - SenseCount(*meaning);
            card.meaning = *meaning;
            card.plain = FormatDictionaryLine(card.word, card.pinyin, card.meaning);
        }
    }

    // Words: lesson characters by slot, lesson words, the rest; by place, then source order.
    const WordPlaces places(sources.frequencies, sources.weights);
    std::vector<std::string> sourceOrder;
    sourceOrder.reserve(byWord.size());
    for (const auto& [word, candidates] : byWord) sourceOrder.push_back(word);
    std::sort(sourceOrder.begin(), sourceOrder.end(),
              [&](const std::string& a, const std::string& b) {
                  return firstSeen.at(a) < firstSeen.at(b);
              });
    build.lessonWords = LessonWords(sourceOrder, sources.lessonCharacters, places);
    struct WordRank {
        std::size_t group;
        WordPlace place;
        std::size_t firstSource;
        const std::string* word;
    };
    std::vector<WordRank> words;
    words.reserve(byWord.size());
    for (const auto& [word, candidates] : byWord) {
        const auto& lesson = sources.lessonCharacters;
        const auto& lessonWords = build.lessonWords;
        std::size_t group = static_cast<std::size_t>(std::find(lesson.begin(), lesson.end(), word) -
                                                     lesson.begin());
        if (group == lesson.size() &&
            std::find(lessonWords.begin(), lessonWords.end(), word) == lessonWords.end())
            ++group;
        const WordPlace place = group < lesson.size() ? WordPlace{} : places.Of(word);
        words.push_back({group, place, firstSeen.at(word), &word});
    }
    std::sort(words.begin(), words.end(), [](const WordRank& a, const WordRank& b) {
        return std::tie(a.group, a.place, a.firstSource) <
               std::tie(b.group, b.place, b.firstSource);
    });
    std::vector<DictionaryLine> further;
    for (const WordRank& rank : words) {
        auto& candidates = byWord.at(*rank.word);
        const bool single = DecodeUtf8(*rank.word).size() == 1;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            auto& out = i == 0 || single ? build.lines : further;
            out.push_back(std::move(candidates[i].line));
        }
    }
    for (DictionaryLine& line : further) build.lines.push_back(std::move(line));
    return build;
}
