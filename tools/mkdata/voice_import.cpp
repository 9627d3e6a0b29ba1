#include "tools/mkdata/voice_import.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>

#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/sound_processing.h"
#include "tools/mkdata/source_text.h"
#include "tools/mkdata/word_cut.h"

namespace {

constexpr const char* kManifestHeader =
    "file\tcharacter\tsyllable\tsource path (hugolpz/audio-cmn at "
    "ff9ed3d0c631195bd2c06f39450f3264c7124040)\tsha256\taccepted\tcut from word\tplace"
    "\tcut (s)\n";
constexpr std::size_t kWordTries = 8;  // words tried a syllable
constexpr const char* kUnrecordedHeader = "syllable\twhy no recording passes\n";

void WriteWhole(const std::string& path, const std::string& bytes) {
    WriteWholeFile(path, bytes.data(), bytes.size());
}

// The collection's table: file, character, source path, SHA-256.
struct Collection {
    std::map<std::string, std::vector<std::string>> byCharacter;  // -> file, path, sha
    std::vector<std::string> characters;                          // in table order
};

Collection ReadCollection(const std::string& sourceDir) {
    const auto table = ReadWholeFile(sourceDir + "/cmn-caen-tan.tsv");
    if (!table) throw std::runtime_error("cannot read " + sourceDir + "/cmn-caen-tan.tsv");
    Collection collection;
    const auto lines = SplitLines(*table);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto cells = Split(lines[i], '\t');
        if (cells.size() != 4) continue;
        collection.byCharacter[cells[1]] = {cells[0], cells[2], cells[3]};
        collection.characters.push_back(cells[1]);
    }
    return collection;
}

std::string ReadSource(const std::string& path, const std::string& sha) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    if (Sha256Hex(*bytes) != sha) throw std::runtime_error(path + " does not match its SHA-256");
    return *bytes;
}

// The word recordings' table: file, word, CC-CEDICT readings, source path,
// SHA-256. Empty when the source has none.
std::vector<WordFile> ReadWordCollection(const std::string& sourceDir) {
    std::vector<WordFile> words;
    const auto table = ReadWholeFile(sourceDir + "/cmn-caen-tan-words.tsv");
    if (!table) return words;
    const auto lines = SplitLines(*table);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto cells = Split(lines[i], '\t');
        if (cells.size() == 5) words.push_back({cells[0], cells[1], cells[3], cells[4]});
    }
    return words;
}

std::string ManifestLine(const RecordingRow& row) {
    std::string line = row.file + "\t" + row.character + "\t" + row.syllable + "\t" +
                       row.sourcePath + "\t" + row.sha256;
    if (!row.accepted.empty() || !row.word.empty()) line += "\t" + row.accepted;
    if (!row.word.empty()) line += "\t" + row.word + "\t" + CutPlace(row) + "\t" + CutPoints(row);
    return line + "\n";
}

// Why the checks cannot vouch for a character read otherwise too: a neutral
// tone has no tone rule, and another of its Unihan readings in the same tone
// sounds alike to them (CC-CEDICT's rarer readings aside). Empty when they can.
std::string Unverifiable(const CharacterReadings& readings, const std::string& character,
                         const std::string& syllable, const ReadingCheck& reading) {
    if (reading.fit != ReadingFit::Primary) return {};
    if (syllable.back() == '5') return "also read otherwise, in a tone the checks cannot tell";
    for (const std::string& other : readings.unihan.at(character)) {
        if (other != syllable && other.back() == syllable.back())
            return "also read " + other + ", in the same tone";
    }
    return {};
}

}  // namespace

std::vector<SyllablePlace> SyllablePlaces(
    const std::string& syllable, const std::vector<WordFile>& words,
    const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies) {
    std::vector<std::pair<std::tuple<int, int, long long>, SyllablePlace>> ranked;
    for (const WordFile& w : words) {
        const auto found = readings.words.find(w.word);
        if (found == readings.words.end()) continue;
        const auto characters = DecodeUtf8(w.word);
        for (const std::string& pinyin : found->second) {
            const auto syllables = Split(pinyin, ' ');
            if (syllables.size() != characters.size() ||
                std::find(syllables.begin(), syllables.end(), "r5") != syllables.end())
                continue;
            for (std::size_t k = 0; k < syllables.size(); ++k) {
                if (syllables[k] != syllable) continue;
                const bool last = k + 1 == syllables.size();
                const std::string c = EncodeUtf8(characters[k]);
                if (!last && ((ToneOf(syllable) == 3 && ToneOf(syllables[k + 1]) == 3) ||
                              c == "一" || c == "不"))
                    continue;
                SyllablePlace p{
                    &w, syllables, k + 1,
                    CheckCutReading(readings, w.word, k + 1, syllables.size(), syllable)};
                if (std::any_of(ranked.begin(), ranked.end(), [&](const auto& r) {
                        return r.second.file == &w && r.second.place == k + 1;
                    }))
                    continue;
                const auto f = frequencies.find(w.word);
                ranked.push_back({{p.reading.fit == ReadingFit::Sole ? 0 : 1,
                                   ToneOf(syllable) == 5 || last ? 0 : 1,
                                   f == frequencies.end() ? 0 : -f->second},
                                  std::move(p)});
            }
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SyllablePlace> out;
    for (auto& [rank, p] : ranked) out.push_back(std::move(p));
    return out;
}

std::vector<std::string> SyllablesOffered(
    const std::string& sourceDir, const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies) {
    const std::vector<std::string> available = ReadCollection(sourceDir).characters;
    std::set<std::string> read;
    for (const std::string& c : available) {
        if (const auto cedict = readings.cedict.find(c); cedict != readings.cedict.end())
            read.insert(cedict->second.begin(), cedict->second.end());
        if (const auto unihan = readings.unihan.find(c); unihan != readings.unihan.end())
            read.insert(unihan->second.begin(), unihan->second.end());
    }
    const std::vector<WordFile> words = ReadWordCollection(sourceDir);
    std::set<std::string> out;
    for (const std::string& s : read) {
        if (ValidSyllable(s) &&
            !RecordingCandidates(s, available, readings, frequencies, 1).empty())
            out.insert(s);
    }
    for (const WordFile& w : words) {
        if (const auto found = readings.words.find(w.word); found != readings.words.end())
            for (const std::string& pinyin : found->second)
                for (const std::string& s : Split(pinyin, ' '))
                    if (ValidSyllable(s) && !SyllablePlaces(s, words, readings, {}).empty())
                        out.insert(s);
    }
    return {out.begin(), out.end()};
}

namespace {

// The first of places (at most kWordTries) whose cut passes every check;
// nullopt with why each failed.
std::optional<PoolRecording> CutFromWords(const std::string& sourceDir, const std::string& syllable,
                                          const std::vector<SyllablePlace>& places,
                                          std::string& why) {
    for (std::size_t i = 0; i < places.size() && i < kWordTries; ++i) {
        const SyllablePlace& p = places[i];
        const std::string source = sourceDir + "/cmn-caen-tan-words/" + p.file->file;
        ReadSource(source, p.file->sha);
        const std::vector<float> decoded = DecodeFiltered(source);
        const auto spans = FindSyllableSpans(decoded, kRecordingRate, p.syllables);
        const std::string where =
            p.file->word + " " + std::to_string(p.place) + "/" + std::to_string(p.syllables.size());
        if (spans.empty()) {
            why += (why.empty() ? "" : "; ") + where + " no syllables found";
            continue;
        }
        const auto seconds = [](std::size_t sample) {
            return std::round(static_cast<double>(sample) / kRecordingRate * 1000) / 1000;
        };
        RecordingRow row{p.file->file,
                         EncodeUtf8(DecodeUtf8(p.file->word)[p.place - 1]),
                         syllable,
                         p.file->path,
                         p.file->sha,
                         "",
                         p.file->word,
                         p.place,
                         p.syllables.size(),
                         seconds(spans[p.place - 1].from),
                         seconds(spans[p.place - 1].to)};
        auto checked = ProcessRecording(source, row, p.reading);
        const std::string fault = !checked ? "not decoded" : checked->fault;
        std::printf("    %s %s %s: %.3f s, head %.1f tail %.1f level %.1f dB, %s%s%s\n",
                    syllable.c_str(), where.c_str(), CutPoints(row).c_str(),
                    checked ? checked->figures.seconds : 0.0, checked ? checked->headDb : 0.0,
                    checked ? checked->source.tailDb : 0.0,
                    checked ? checked->source.speechDb - checked->word.speechDb : 0.0,
                    checked ? checked->tone.contour.c_str() : "", checked ? " -- " : "",
                    checked ? checked->tone.verdict.c_str() : "");
        if (fault.empty()) return checked;
        why += (why.empty() ? "" : "; ") + where + " " + fault;
    }
    return std::nullopt;
}

}  // namespace

ImportResult ImportRecordings(const std::string& sourceDir, const std::string& recordingsDir,
                              const std::vector<std::string>& syllables, std::size_t tries,
                              const CharacterReadings& readings,
                              const std::unordered_map<std::string, long long>& frequencies) {
    Collection collection = ReadCollection(sourceDir);
    auto& byCharacter = collection.byCharacter;
    const std::vector<std::string>& available = collection.characters;
    const std::vector<WordFile> words = ReadWordCollection(sourceDir);
    const std::string manifestPath = recordingsDir + "/manifest.tsv";
    std::vector<RecordingRow> rows =
        ParseRecordingManifest(ReadWholeFile(manifestPath).value_or(kManifestHeader));
    const std::string unrecordedPath = recordingsDir + "/unrecorded.tsv";
    std::map<std::string, std::string> unrecorded;
    if (const auto text = ReadWholeFile(unrecordedPath)) {
        const auto lines = SplitLines(*text);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const auto cells = Split(lines[i], '\t');
            if (cells.size() == 2) unrecorded[cells[0]] = cells[1];
        }
    }

    ImportResult result;
    for (const std::string& syllable : syllables) {
        // A neutral syllable held by characters alone is judged again: each
        // that fails the neutral rule leaves.
        if (ToneOf(syllable) == 5) {
            std::erase_if(rows, [&](const RecordingRow& row) {
                if (row.syllable != syllable || !row.word.empty()) return false;
                const auto checked =
                    ProcessRecording(recordingsDir + "/" + row.file, row,
                                     CheckReading(readings, row.character, syllable));
                const std::string doubt =
                    Unverifiable(readings, row.character, syllable,
                                 CheckReading(readings, row.character, syllable));
                const std::string fault = !doubt.empty() ? doubt
                                          : !checked     ? "not decoded"
                                                         : checked->fault;
                if (fault.empty()) return false;
                std::printf("  %s: %s (%s) leaves: %s%s%s\n", syllable.c_str(),
                            row.character.c_str(), row.file.c_str(), fault.c_str(),
                            checked ? " -- " : "", checked ? checked->tone.verdict.c_str() : "");
                ++result.removed;
                return true;
            });
        }
        if (std::any_of(rows.begin(), rows.end(),
                        [&](const RecordingRow& row) { return row.syllable == syllable; })) {
            ++result.kept;
            unrecorded.erase(syllable);
            continue;
        }
        const auto chosen = RecordingCandidates(syllable, available, readings, frequencies, tries);
        std::string why;
        bool added = false;
        for (const std::string& c : chosen) {
            const std::string& file = byCharacter[c][0];
            const std::string& path = byCharacter[c][1];
            const std::string& sha = byCharacter[c][2];
            const std::string source = sourceDir + "/cmn-caen-tan/" + file;
            const std::string bytes = ReadSource(source, sha);
            const ReadingCheck reading = CheckReading(readings, c, syllable);
            if (const std::string doubt = Unverifiable(readings, c, syllable, reading);
                !doubt.empty()) {
                why += (why.empty() ? "" : "; ") + c + " " + doubt;
                continue;
            }
            const RecordingRow row{file, c, syllable, path, sha, "", "", 0, 0, 0, 0};
            const auto checked = ProcessRecording(source, row, reading);
            const std::string fault = !checked ? "not decoded" : checked->fault;
            if (!fault.empty()) {
                why += (why.empty() ? "" : "; ") + c + " " + fault;
                continue;
            }
            WriteWhole(recordingsDir + "/" + file, bytes);
            rows.push_back(row);
            std::printf("  %s: %s (%s) %s\n", syllable.c_str(), c.c_str(), file.c_str(),
                        checked->tone.verdict.c_str());
            ++result.added;
            added = true;
            break;
        }
        if (!added) {
            const auto places = SyllablePlaces(syllable, words, readings, frequencies);
            if (const auto cut = CutFromWords(sourceDir, syllable, places, why)) {
                const RecordingRow& row = cut->row;
                WriteWhole(recordingsDir + "/" + row.file,
                           ReadSource(sourceDir + "/cmn-caen-tan-words/" + row.file, row.sha256));
                rows.push_back(row);
                std::printf("  %s: cut from %s %s (%s) %s\n", syllable.c_str(), row.word.c_str(),
                            CutPlace(row).c_str(), row.file.c_str(), cut->tone.verdict.c_str());
                ++result.cut;
                added = true;
            }
            if (chosen.empty() && places.empty())
                why = "no character or word of the collection is read so";
        }
        if (added) {
            unrecorded.erase(syllable);
            continue;
        }
        std::printf("  %s: none -- %s\n", syllable.c_str(), why.c_str());
        unrecorded[syllable] = why;
    }
    // Files no row names any more (a neutral character that left) go too.
    std::set<std::string> named;
    std::string manifest = kManifestHeader;
    for (const RecordingRow& row : rows) {
        manifest += ManifestLine(row);
        named.insert(row.file);
    }
    ParseRecordingManifest(manifest);
    WriteWhole(manifestPath, manifest);
    for (const auto& entry : std::filesystem::directory_iterator(recordingsDir)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".mp3" && !named.count(name))
            std::filesystem::remove(entry.path());
    }
    std::string text = kUnrecordedHeader;
    for (const auto& [syllable, why] : unrecorded) {
        text += syllable + "\t" + why + "\n";
        result.unrecorded.push_back(syllable + "\t" + why);
    }
    WriteWhole(unrecordedPath, text);
    return result;
}
