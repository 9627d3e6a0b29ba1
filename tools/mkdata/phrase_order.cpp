#include "tools/mkdata/phrase_order.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>

#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/source_text.h"

namespace {

using Stays = std::function<bool(const DictionaryLine&)>;

bool Spoken(const DictionaryLine& line, const RecordedQuery& recorded) {
    for (const std::string& syllable : SpokenSyllables(line.pinyin.c_str()))
        if (RecordedSyllable(syllable, recorded).empty()) return false;
    return true;
}

// The first line behind line `after` of a phrase of code that takes accepts
// and whose word stands nowhere before it in code's list (a word's further
// reading would show it twice); lines.size() when there is none.
std::size_t FirstNewPhraseBehind(const std::vector<DictionaryLine>& lines, std::uint16_t code,
                                 std::size_t after,
                                 const std::function<bool(const DictionaryLine&)>& takes) {
    std::set<std::string> seen;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        if (!QualifiesAsPhrase(lines[j].word, code)) continue;
        if (seen.insert(lines[j].word).second && j > after && takes(lines[j])) return j;
    }
    return lines.size();
}

// The taker's line, then the leaving word's page line, go behind line last
// (where the leaving line stood, when it is last); their further readings stay
// behind every word's first reading.
void MoveBehind(std::vector<DictionaryLine>& lines, std::size_t taker, std::size_t leaving,
                std::size_t last) {
    std::vector<DictionaryLine> taking, leavingLines, kept;
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == taker) {
            taking.push_back(std::move(lines[i]));
        } else if (i == leaving) {
            leavingLines.push_back(std::move(lines[i]));
        } else {
            kept.push_back(std::move(lines[i]));
        }
        if (i == last) insertAt = kept.size();
    }
    std::move(leavingLines.begin(), leavingLines.end(), std::back_inserter(taking));
    kept.insert(kept.begin() + static_cast<long>(insertAt), std::make_move_iterator(taking.begin()),
                std::make_move_iterator(taking.end()));
    lines = std::move(kept);
}

// Moves the line of each word of code's first page that fails stays to the
// page's end, behind the first new phrase that stays, which takes its place,
// until the page holds none. A line that no staying phrase can replace leaves
// the list: the page would hold it however far back it went. Appends the words
// to moved or leftOut, each once.
void MoveBehindFirstPage(std::vector<DictionaryLine>& lines, std::uint16_t code, const Stays& stays,
                         std::vector<std::string>& moved, std::vector<std::string>& leftOut) {
    const auto once = [](std::vector<std::string>& words, const std::string& word) {
        if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
    };
    while (true) {
        const auto page = FirstPhrasePage(lines, code);
        const auto leaving =
            std::find_if(page.begin(), page.end(), [&](std::size_t i) { return !stays(lines[i]); });
        if (leaving == page.end()) return;
        const std::size_t from = *leaving;
        std::size_t last = from;  // the page's last line but the leaving one
        for (std::size_t i : page)
            if (i != from) last = i;
        const std::size_t taker =
            FirstNewPhraseBehind(lines, code, page.back(), [&](const DictionaryLine& line) {
                return line.word != lines[from].word && stays(line);
            });
        if (taker == lines.size()) {
            once(leftOut, lines[from].utf8Word);
            lines.erase(lines.begin() + static_cast<long>(from));
            continue;
        }
        once(moved, lines[from].utf8Word);
        MoveBehind(lines, taker, from, last);
    }
}

struct PageLine {
    std::uint16_t code;
    std::size_t line;      // index into lines
    std::size_t position;  // on its page, from 0
    std::vector<std::string> names;
};
// The names of the card syllables, then the first-page lines and the names
// each plays.
struct NeededNames {
    std::vector<std::string> card;
    std::vector<PageLine> pages;
};

NeededNames NamesNeeded(const std::vector<DictionaryLine>& lines,
                        const std::vector<std::uint16_t>& lessonCodes, const Stays& stays) {
    NeededNames needed;
    for (std::uint16_t code : lessonCodes) {
        const std::size_t card = CardLine(lines, code);
        if (card == lines.size()) throw std::runtime_error("no card record for a lesson character");
        needed.card.push_back(lines[card].pinyin);
    }
    for (std::uint16_t code : lessonCodes) {
        // The first page once the words that do not stay have left it.
        std::size_t onPage = 0;
        for (std::size_t i = 0; i < lines.size() && onPage < kPhrasesPerPage; ++i) {
            if (!QualifiesAsPhrase(lines[i].word, code) || !stays(lines[i])) continue;
            needed.pages.push_back({code, i, onPage++, SpokenSyllables(lines[i].pinyin.c_str())});
        }
    }
    return needed;
}

// A word of a first page (its first line there) and the names it plays.
struct PageWord {
    const PageLine* page;
    std::set<std::string> names;
};

std::vector<PageWord> PageWords(const std::vector<DictionaryLine>& lines,
                                const NeededNames& needed) {
    std::vector<PageWord> words;
    std::map<std::string, std::size_t> wordAt;
    for (const PageLine& p : needed.pages) {
        const auto [at, added] = wordAt.insert({lines[p.line].word, words.size()});
        if (added) words.push_back({&p, {}});
        words[at->second].names.insert(p.names.begin(), p.names.end());
    }
    return words;
}

// Name -> the page words playing it; a card's counts 2, so that its name is
// never a page word's own.
std::map<std::string, int> NameUsers(const NeededNames& needed,
                                     const std::vector<PageWord>& words) {
    std::map<std::string, int> users;
    for (const std::string& name : needed.card) users[name] = 2;
    for (const PageWord& word : words)
        for (const std::string& name : word.names) ++users[name];
    return users;
}

bool OfLessonCharactersOnly(const std::string& gbWord,
                            const std::vector<std::uint16_t>& lessonCodes) {
    for (std::size_t at = 0; at + 1 < gbWord.size(); at += 2) {
        if (std::find(lessonCodes.begin(), lessonCodes.end(), GbCodeAt(gbWord, at)) ==
            lessonCodes.end())
            return false;
    }
    return true;
}

// The page words that may leave (into words), in turn: most names of their
// own first, then the lowest on its page, then of the later character; the
// lesson's own words and those with no name of their own stay.
std::vector<std::size_t> LeavingOrder(const std::vector<DictionaryLine>& lines,
                                      const std::vector<PageWord>& words,
                                      const std::map<std::string, int>& users,
                                      const std::vector<std::uint16_t>& lessonCodes) {
    std::vector<std::tuple<long, std::size_t, std::size_t>> order;  // own, position, word
    for (std::size_t w = 0; w < words.size(); ++w) {
        const PageWord& word = words[w];
        if (OfLessonCharactersOnly(lines[word.page->line].word, lessonCodes)) continue;
        const long own = std::count_if(word.names.begin(), word.names.end(),
                                       [&](const std::string& n) { return users.at(n) == 1; });
        if (own > 0) order.push_back({own, word.page->position, w});
    }
    std::sort(order.begin(), order.end(), std::greater<>());
    std::vector<std::size_t> out;
    for (const auto& [own, position, w] : order) out.push_back(w);
    return out;
}

// Where a page word leaving is replaced: the page's last line without it, and
// the first phrase behind that which stays and needs no name the pages would
// lose with the word.
struct Replacement {
    std::size_t last;
    std::size_t taker;
};

std::optional<Replacement> FindReplacement(const std::vector<DictionaryLine>& lines,
                                           const NeededNames& needed, const PageWord& word,
                                           const std::map<std::string, int>& users,
                                           const Stays& stays) {
    const std::uint16_t code = word.page->code;
    const std::string& gone = lines[word.page->line].word;
    std::size_t last = 0;
    for (const PageLine& p : needed.pages)
        if (p.code == code && lines[p.line].word != gone) last = p.line;
    const std::size_t taker =
        FirstNewPhraseBehind(lines, code, last, [&](const DictionaryLine& line) {
            if (line.word == gone || !stays(line)) return false;
            const auto spoken = SpokenSyllables(line.pinyin.c_str());
            return std::all_of(spoken.begin(), spoken.end(), [&](const std::string& n) {
                const auto u = users.find(n);
                return u != users.end() && !(u->second == 1 && word.names.count(n));
            });
        });
    if (taker == lines.size()) return std::nullopt;
    return Replacement{last, taker};
}

}  // namespace

std::vector<std::string> MoveUnspokenPhrasesBack(std::vector<DictionaryLine>& lines,
                                                 const std::vector<std::uint16_t>& lessonCodes,
                                                 const RecordedQuery& recorded,
                                                 std::vector<std::string>* leftOut) {
    std::vector<std::string> moved;
    std::vector<std::string> left;
    for (std::uint16_t code : lessonCodes) {
        MoveBehindFirstPage(
            lines, code, [&](const DictionaryLine& line) { return Spoken(line, recorded); }, moved,
            left);
    }
    if (leftOut != nullptr) *leftOut = std::move(left);
    return moved;
}

std::vector<std::string> MovePhrasesBackToFitVoices(std::vector<DictionaryLine>& lines,
                                                    const std::vector<std::uint16_t>& lessonCodes,
                                                    const RecordedQuery& recorded) {
    std::vector<std::string> moved;
    std::set<std::string> leaving;  // GB words
    const Stays stays = [&](const DictionaryLine& line) {
        return !leaving.count(line.word) && Spoken(line, recorded);
    };
    while (true) {
        const NeededNames needed = NamesNeeded(lines, lessonCodes, stays);
        const std::vector<PageWord> words = PageWords(lines, needed);
        const std::map<std::string, int> users = NameUsers(needed, words);
        if (users.size() <= kVoiceCount) return moved;

        // The first word in turn whose place a phrase behind the page can take leaves.
        bool done = false;
        for (std::size_t w : LeavingOrder(lines, words, users, lessonCodes)) {
            const auto replacement = FindReplacement(lines, needed, words[w], users, stays);
            if (!replacement) continue;
            const std::string gone = lines[words[w].page->line].word;
            const std::string goneUtf8 = lines[words[w].page->line].utf8Word;
            MoveBehind(lines, replacement->taker, words[w].page->line, replacement->last);
            leaving.insert(gone);
            moved.push_back(goneUtf8);
            done = true;
            break;
        }
        if (!done)
            throw std::runtime_error("the cards and first phrase pages need more than " +
                                     std::to_string(kVoiceCount) +
                                     " voices, and no word of the pages can give way");
    }
}
