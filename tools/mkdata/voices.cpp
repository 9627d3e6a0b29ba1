#include "tools/mkdata/voices.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <tuple>

#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/readings.h"
#include "tools/mkdata/source_text.h"

namespace {

constexpr double kTargetRms = 0.125;  // -18 dBFS
constexpr double kPeakCeiling = 0.95;
constexpr std::uint32_t kSourceRate = 22050;
constexpr double kHighPassHz = 70;  // below the speaker's voice, above the pops
constexpr double kSilenceDb = 35;
constexpr double kPadBefore = 0.03;
constexpr double kPadAfter = 0.05;
constexpr double kFadeIn = 0.02;
constexpr double kFadeOut = 0.05;
constexpr double kCutEndDb = -25;  // the source ends closer than this to its speech level

struct Format {
    std::uint32_t rate;
    int bits;
};
constexpr Format kFormats[] = {{22050, 16}, {20000, 16}, {18000, 16}, {16000, 16},
                               {11025, 16}, {8000, 16},  {11025, 8},  {8000, 8}};

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
    if (name.empty() || name.size() > kMaxVoiceName) return false;
    const char last = name.back();
    if (last < '1' || last > '5') return false;
    return std::all_of(name.begin(), name.end() - 1, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':';
    });
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
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

int ToneOf(const std::string& syllable) {
    return syllable.empty() ? 0 : syllable.back() - '0';
}

}  // namespace

std::vector<RecordingRow> ParseRecordingManifest(const std::string& text) {
    std::vector<RecordingRow> rows;
    bool header = true;
    for (const std::string& line : SplitLines(text)) {
        if (line.empty()) continue;
        if (header) {
            header = false;
            continue;
        }
        const auto cells = Split(line, '\t');
        if (cells.size() < 5 || cells.size() > 6)
            throw std::runtime_error("manifest row without 5 or 6 cells: " + line);
        RecordingRow row{cells[0], cells[1], cells[2],
                         cells[3], cells[4], cells.size() == 6 ? cells[5] : ""};
        const bool hexHash = row.sha256.size() == 64 &&
                             std::all_of(row.sha256.begin(), row.sha256.end(), [](char c) {
                                 return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                             });
        if (!hexHash || !ValidName(row.syllable) || Lower(row.syllable) != row.syllable ||
            row.file.empty() || row.file.find('/') != std::string::npos ||
            DecodeUtf8(row.character).size() != 1)
            throw std::runtime_error("malformed manifest row: " + line);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string Sha256Hex(std::span<const std::uint8_t> bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 failed");
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        hex += two;
    }
    return hex;
}

CharacterReadings ReadCharacterReadings(const std::vector<CedictEntry>& entries,
                                        const std::string& unihanReadings) {
    CharacterReadings r;
    for (const CedictEntry& e : entries) {
        if (DecodeUtf8(e.simplified).size() == 1) r.cedict[e.simplified].insert(Lower(e.pinyin));
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

std::string RecordedSyllable(const std::string& name, const std::string& character,
                             const RecordedQuery& recorded,
                             const std::map<std::string, std::string>& primaryReadings) {
    const std::string lower = Lower(name);
    if (recorded(lower)) return lower;
    if (ToneOf(lower) != 5) return {};
    const auto own = primaryReadings.find(character);
    if (own == primaryReadings.end() ||
        own->second.substr(0, own->second.size() - 1) != lower.substr(0, lower.size() - 1) ||
        !recorded(own->second))
        return {};
    return own->second;
}

void RefuseUnrecordedCards(const std::vector<DictionaryLine>& lines,
                           const std::vector<std::uint16_t>& lessonCodes,
                           const RecordedQuery& recorded,
                           const std::map<std::string, std::string>& primaryReadings) {
    for (std::uint16_t code : lessonCodes) {
        const std::size_t card = CardLine(lines, code);
        if (card == lines.size()) throw std::runtime_error("no card record for a lesson character");
        const DictionaryLine& line = lines[card];
        if (RecordedSyllable(line.pinyin, line.utf8Word, recorded, primaryReadings).empty())
            throw std::runtime_error(line.utf8Word + " (" + Lower(line.pinyin) +
                                     "): no human recording of this syllable; choose another "
                                     "character");
    }
}

namespace {

bool Spoken(const DictionaryLine& line, const RecordedQuery& recorded,
            const std::map<std::string, std::string>& primaryReadings) {
    const auto characters = DecodeUtf8(line.utf8Word);
    const auto syllables = SpokenSyllables(line.pinyin.c_str());
    for (std::size_t k = 0; k < syllables.size(); ++k) {
        const std::string c = k < characters.size() ? EncodeUtf8(characters[k]) : "";
        if (RecordedSyllable(syllables[k], c, recorded, primaryReadings).empty()) return false;
    }
    return true;
}

// Moves the lines of each word of code's first page that fails stays to just
// behind the page (behind the first phrase that stays, which takes its place),
// until the page holds none. Appends the words moved to moved, each once.
void MoveBehindFirstPage(std::vector<DictionaryLine>& lines, std::uint16_t code,
                         const std::function<bool(const DictionaryLine&)>& stays,
                         std::vector<std::string>& moved) {
    for (int round = 0; round < 100; ++round) {
        const auto page = FirstPhrasePage(lines, code);
        const auto leaving =
            std::find_if(page.begin(), page.end(), [&](std::size_t i) { return !stays(lines[i]); });
        if (leaving == page.end()) return;
        const std::string word = lines[*leaving].word;
        if (std::find(moved.begin(), moved.end(), lines[*leaving].utf8Word) == moved.end())
            moved.push_back(lines[*leaving].utf8Word);
        std::size_t after = page.back();
        for (std::size_t j = page.back() + 1; j < lines.size(); ++j) {
            if (lines[j].word != word && QualifiesAsPhrase(lines[j].word, code) &&
                stays(lines[j])) {
                after = j;
                break;
            }
        }
        // The word's line on the page goes behind that phrase's line; its other
        // readings stay behind every word's first reading, so that the word
        // does not stand twice near the top of the list.
        const std::size_t from = *leaving;
        DictionaryLine line = std::move(lines[from]);
        lines.erase(lines.begin() + static_cast<long>(from));
        const std::size_t to = after == from ? lines.size() : after;
        lines.insert(lines.begin() + static_cast<long>(to), std::move(line));
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
                        const std::vector<std::uint16_t>& lessonCodes,
                        const std::function<bool(const DictionaryLine&)>& stays) {
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

bool OfLessonCharactersOnly(const std::string& gbWord,
                            const std::vector<std::uint16_t>& lessonCodes) {
    for (std::size_t at = 0; at + 1 < gbWord.size(); at += 2) {
        if (std::find(lessonCodes.begin(), lessonCodes.end(), GbCodeAt(gbWord, at)) ==
            lessonCodes.end())
            return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> MoveUnspokenPhrasesBack(
    std::vector<DictionaryLine>& lines, const std::vector<std::uint16_t>& lessonCodes,
    const RecordedQuery& recorded, const std::map<std::string, std::string>& primaryReadings) {
    std::vector<std::string> moved;
    for (std::uint16_t code : lessonCodes) {
        MoveBehindFirstPage(
            lines, code,
            [&](const DictionaryLine& line) { return Spoken(line, recorded, primaryReadings); },
            moved);
    }
    return moved;
}

std::vector<std::string> MovePhrasesBackToFitVoices(
    std::vector<DictionaryLine>& lines, const std::vector<std::uint16_t>& lessonCodes,
    const RecordedQuery& recorded, const std::map<std::string, std::string>& primaryReadings) {
    std::vector<std::string> moved;
    std::set<std::string> leaving;  // GB words
    auto stays = [&](const DictionaryLine& line) {
        return !leaving.count(line.word) && Spoken(line, recorded, primaryReadings);
    };
    while (true) {
        const NeededNames needed = NamesNeeded(lines, lessonCodes, stays);
        // Per page word (its first line there): the names it plays.
        std::vector<std::pair<const PageLine*, std::set<std::string>>> words;
        std::map<std::string, std::size_t> wordAt;
        for (const PageLine& p : needed.pages) {
            const auto [at, added] = wordAt.insert({lines[p.line].word, words.size()});
            if (added) words.push_back({&p, {}});
            words[at->second].second.insert(p.names.begin(), p.names.end());
        }
        std::map<std::string, int> users;  // name -> the page words playing it; a card's counts 2
        for (const std::string& name : needed.card) users[name] = 2;
        for (const auto& [page, names] : words)
            for (const std::string& name : names) ++users[name];
        if (users.size() <= kVoiceCount) return moved;

        // Candidates to leave: most names of their own first, then the lowest
        // on its page, then the later character; the lesson's own words stay.
        std::vector<std::tuple<long, std::size_t, std::size_t>> order;  // own, position, word
        for (std::size_t w = 0; w < words.size(); ++w) {
            const auto& [page, names] = words[w];
            if (OfLessonCharactersOnly(lines[page->line].word, lessonCodes)) continue;
            const long own = std::count_if(names.begin(), names.end(),
                                           [&](const std::string& n) { return users[n] == 1; });
            if (own > 0) order.push_back({own, page->position, w});
        }
        std::sort(order.begin(), order.end(), std::greater<>());
        // The one leaves whose place the first phrase behind the page can take
        // that needs no name the pages lose.
        bool done = false;
        for (const auto& [own, position, w] : order) {
            const auto& [page, names] = words[w];
            const std::string gone = lines[page->line].word;
            const std::string goneUtf8 = lines[page->line].utf8Word;
            std::size_t last = 0;  // the page's last line without the word leaving
            for (const PageLine& p : needed.pages)
                if (p.code == page->code && lines[p.line].word != gone) last = p.line;
            std::size_t taker = lines.size();
            for (std::size_t j = last + 1; j < lines.size() && taker == lines.size(); ++j) {
                if (!QualifiesAsPhrase(lines[j].word, page->code) || lines[j].word == gone ||
                    !stays(lines[j]))
                    continue;
                const auto spoken = SpokenSyllables(lines[j].pinyin.c_str());
                if (std::all_of(spoken.begin(), spoken.end(), [&](const std::string& n) {
                        const auto u = users.find(n);
                        return u != users.end() && !(u->second == 1 && names.count(n));
                    }))
                    taker = j;
            }
            if (taker == lines.size()) continue;
            // The taker's line, then the leaving word's, go behind the page's last
            // line; their further readings stay behind every word's first reading.
            std::vector<DictionaryLine> taking, leavingLines, kept;
            std::size_t insertAt = 0;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (i == taker) {
                    taking.push_back(std::move(lines[i]));
                } else if (i == page->line) {
                    leavingLines.push_back(std::move(lines[i]));
                } else {
                    kept.push_back(std::move(lines[i]));
                    if (i == last) insertAt = kept.size();
                }
            }
            std::move(leavingLines.begin(), leavingLines.end(), std::back_inserter(taking));
            kept.insert(kept.begin() + static_cast<long>(insertAt),
                        std::make_move_iterator(taking.begin()),
                        std::make_move_iterator(taking.end()));
            lines = std::move(kept);
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

VoiceChoice ChooseVoiceNames(const std::vector<DictionaryLine>& lines,
                             const std::vector<std::uint16_t>& lessonCodes,
                             const std::unordered_map<std::string, long long>& frequencies,
                             const RecordedQuery& recorded,
                             const std::map<std::string, std::string>& primaryReadings) {
    RefuseUnrecordedCards(lines, lessonCodes, recorded, primaryReadings);
    VoiceChoice choice;
    // character: the one the syllable stands for, when known.
    auto add = [&](const std::string& name, const std::string& character) {
        if (!ValidName(name)) throw std::runtime_error("voice name not usable: \"" + name + "\"");
        if (std::find(choice.names.begin(), choice.names.end(), name) != choice.names.end()) return;
        const std::string spoken = RecordedSyllable(name, character, recorded, primaryReadings);
        if (spoken.empty()) throw std::runtime_error("no recording for the voice \"" + name + "\"");
        choice.names.push_back(name);
        choice.spokenAs.push_back(spoken);
    };
    for (std::uint16_t code : lessonCodes) {
        const std::size_t card = CardLine(lines, code);
        add(lines[card].pinyin, lines[card].utf8Word);
    }
    choice.cardNames = choice.names.size();
    for (std::uint16_t code : lessonCodes) {
        for (std::size_t i : FirstPhrasePage(lines, code)) {
            const auto characters = DecodeUtf8(lines[i].utf8Word);
            const auto syllables = SpokenSyllables(lines[i].pinyin.c_str());
            for (std::size_t k = 0; k < syllables.size(); ++k)
                add(syllables[k], k < characters.size() ? EncodeUtf8(characters[k]) : "");
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
        for (const std::string& s : Split(line.pinyin, ' ')) weight[s] += f->second;
    }
    std::vector<std::pair<long long, std::string>> ranked;
    for (const auto& [syllable, w] : weight) ranked.push_back({-w, syllable});
    std::sort(ranked.begin(), ranked.end());
    for (const auto& [negWeight, syllable] : ranked) {
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

std::optional<PoolRecording> ProcessRecording(const std::string& path, RecordingRow row,
                                              const ReadingCheck& reading) {
    PoolRecording r;
    r.reading = reading;
    r.row = std::move(row);
    r.rate = kSourceRate;
    std::vector<float> decoded = Decode(path, r.rate);
    if (decoded.size() < r.rate / 10) return std::nullopt;
    r.source = MeasureSound(decoded, r.rate);
    HighPass(decoded, r.rate, kHighPassHz);
    r.samples = TrimSilence(decoded, r.rate);
    r.figures = MeasureSound(r.samples, r.rate);
    Fade(r.samples, r.rate, kFadeIn, kFadeOut);
    r.tone = CheckTone(TrackPitch(r.samples, r.rate), ToneOf(r.row.syllable));
    const SoundFigures faded = MeasureSound(r.samples, r.rate);
    r.figures.peakDb = faded.peakDb;
    r.figures.rmsDb = faded.rmsDb;
    if (r.reading.fit == ReadingFit::None)
        r.fault = "not read " + r.row.syllable;
    else if (r.source.clipped > 0)
        r.fault = "clipped";
    else if (r.source.tailDb > kCutEndDb)
        r.fault = "ends mid-sound";
    else if (!r.tone.ok)
        r.fault = "tone: " + r.tone.verdict;
    return r;
}

RecordingPool::RecordingPool(std::string dir, std::vector<RecordingRow> rows,
                             const CharacterReadings& readings,
                             const std::unordered_map<std::string, long long>& frequencies)
    : dir_(std::move(dir)), rowCount_(rows.size()) {
    // Per syllable: sole readings before primary ones, then the commonest.
    std::map<std::string, std::vector<std::pair<std::pair<int, long long>, std::size_t>>> ranked;
    std::vector<ReadingCheck> checks;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        checks.push_back(CheckReading(readings, rows[i].character, rows[i].syllable));
        if (checks.back().fit == ReadingFit::None) {
            rejected_.push_back(rows[i].file + ": " + rows[i].character + " is not read " +
                                rows[i].syllable);
            continue;
        }
        const auto f = frequencies.find(rows[i].character);
        ranked[rows[i].syllable].push_back({{checks.back().fit == ReadingFit::Sole ? 0 : 1,
                                             -(f == frequencies.end() ? 0 : f->second)},
                                            i});
    }
    for (auto& [syllable, list] : ranked) {
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [rank, i] : list) candidates_[syllable].push_back({rows[i], checks[i]});
    }
}

const PoolRecording* RecordingPool::Find(const std::string& syllable) {
    const auto known = found_.find(syllable);
    if (known != found_.end()) return known->second;
    PoolRecording* pick = nullptr;
    std::vector<PoolRecording*> tried;
    const auto candidates = candidates_.find(syllable);
    if (candidates != candidates_.end()) {
        for (const auto& [row, reading] : candidates->second) {
            const std::string path = dir_ + "/" + row.file;
            const auto bytes = ReadWholeFile(path);
            if (!bytes) {
                rejected_.push_back(row.file + ": missing");
                continue;
            }
            const std::string sha = Sha256Hex(std::span<const std::uint8_t>(
                reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
            if (sha != row.sha256) {
                rejected_.push_back(row.file + ": SHA-256 " + sha + " differs from the manifest");
                continue;
            }
            auto processed = ProcessRecording(path, row, reading);
            if (!processed) {
                rejected_.push_back(row.file + ": not decoded");
                continue;
            }
            decoded_.push_back(std::move(*processed));
            tried.push_back(&decoded_.back());
            if (decoded_.back().fault.empty()) {
                pick = &decoded_.back();
                break;
            }
        }
    }
    for (PoolRecording* r : tried) {
        if (pick == nullptr && !r->row.accepted.empty()) pick = r;
    }
    if (pick != nullptr) pick->used = true;
    found_[syllable] = pick;
    return pick;
}

RecordedQuery RecordingPool::Query() {
    return [this](const std::string& syllable) { return Find(syllable) != nullptr; };
}

RecordingPool LoadRecordings(const std::string& dir, const CharacterReadings& readings,
                             const std::unordered_map<std::string, long long>& frequencies) {
    const auto manifest = ReadWholeFile(dir + "/manifest.tsv");
    if (!manifest) throw std::runtime_error("cannot read " + dir + "/manifest.tsv");
    return RecordingPool(dir, ParseRecordingManifest(*manifest), readings, frequencies);
}

std::string PoolReport(const RecordingPool& pool) {
    std::string out;
    char line[512];
    std::snprintf(line, sizeof line, "  %-7s %-4s %-5s %6s %7s %7s %7s %4s  %-24s %s\n", "syll.",
                  "char", "use", "sec", "peak", "RMS", "end", "clip", "F0 contour (Hz)",
                  "tone check");
    out += line;
    for (const PoolRecording& r : pool.Decoded()) {
        std::string use = r.used ? "yes" : "-";
        std::string note = r.tone.verdict;
        if (!r.fault.empty()) note += " -- FAILS: " + r.fault;
        if (r.used && !r.fault.empty()) note += " -- accepted: " + r.row.accepted;
        if (r.reading.fit == ReadingFit::Primary) note += " [" + r.reading.note + "]";
        std::snprintf(line, sizeof line,
                      "  %-7s %s   %-5s %6.3f %7.1f %7.1f %7.1f %4zu  %-24s %s\n",
                      r.row.syllable.c_str(), r.row.character.c_str(), use.c_str(),
                      r.figures.seconds, r.figures.peakDb, r.figures.rmsDb, r.source.tailDb,
                      r.source.clipped, r.tone.contour.c_str(), note.c_str());
        out += line;
    }
    for (const std::string& why : pool.Rejected()) out += "  left out: " + why + "\n";
    return out;
}

VoiceBuild BuildVoices(const VoiceChoice& choice, RecordingPool& pool, std::size_t byteBudget,
                       const std::string& workDir) {
    std::vector<const PoolRecording*> sources;
    for (std::size_t i = 0; i < choice.names.size(); ++i) {
        const PoolRecording* found = pool.Find(choice.spokenAs[i]);
        if (found == nullptr)
            throw std::runtime_error("no recording for the voice \"" + choice.names[i] + "\"");
        sources.push_back(found);
    }
    for (const Format& format : kFormats) {
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
            if (!info)
                throw std::runtime_error("bad WAV image for " + choice.names[i] + ": " + error);
            recording.info = *info;
            build.totalBytes += recording.wav.size();
            build.recordings.push_back(std::move(recording));
        }
        if (build.totalBytes > byteBudget) continue;
        for (const SpokenRecording& r : build.recordings) {  // for listening
            std::ofstream out(workDir + "/" + std::to_string(&r - build.recordings.data()) + "-" +
                                  r.name + ".wav",
                              std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(r.wav.data()),
                      static_cast<std::streamsize>(r.wav.size()));
        }
        return build;
    }
    throw std::runtime_error("the voices do not fit in " + std::to_string(byteBudget) + " bytes");
}
