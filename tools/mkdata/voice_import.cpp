#include "tools/mkdata/voice_import.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/sound_processing.h"
#include "tools/mkdata/source_text.h"

namespace {

constexpr const char* kManifestHeader =
    "file\tcharacter\tsyllable\tsource path (hugolpz/audio-cmn at "
    "ff9ed3d0c631195bd2c06f39450f3264c7124040)\tsha256\taccepted\n";
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
    std::vector<std::string> out;
    for (const std::string& s : read) {
        if (ValidSyllable(s) &&
            !RecordingCandidates(s, available, readings, frequencies, 1).empty())
            out.push_back(s);
    }
    return out;
}

ImportResult ImportRecordings(const std::string& sourceDir, const std::string& recordingsDir,
                              const std::vector<std::string>& syllables, std::size_t tries,
                              const CharacterReadings& readings,
                              const std::unordered_map<std::string, long long>& frequencies) {
    Collection collection = ReadCollection(sourceDir);
    auto& byCharacter = collection.byCharacter;
    const std::vector<std::string>& available = collection.characters;
    const std::string manifestPath = recordingsDir + "/manifest.tsv";
    std::string manifest = ReadWholeFile(manifestPath).value_or(kManifestHeader);
    std::set<std::string> held;
    for (const RecordingRow& row : ParseRecordingManifest(manifest)) held.insert(row.syllable);
    const std::string unrecordedPath = recordingsDir + "/unrecorded.tsv";
    std::map<std::string, std::string> unrecorded;
    if (const auto text = ReadWholeFile(unrecordedPath)) {
        const auto rows = SplitLines(*text);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const auto cells = Split(rows[i], '\t');
            if (cells.size() == 2) unrecorded[cells[0]] = cells[1];
        }
    }

    ImportResult result;
    for (const std::string& syllable : syllables) {
        if (held.count(syllable)) {
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
            const auto bytes = ReadWholeFile(source);
            if (!bytes) throw std::runtime_error("cannot read " + source);
            if (Sha256Hex(*bytes) != sha)
                throw std::runtime_error(file + " does not match its SHA-256");
            const ReadingCheck reading = CheckReading(readings, c, syllable);
            if (const std::string doubt = Unverifiable(readings, c, syllable, reading);
                !doubt.empty()) {
                why += (why.empty() ? "" : "; ") + c + " " + doubt;
                continue;
            }
            const RecordingRow row{file, c, syllable, path, sha, ""};
            const auto checked = ProcessRecording(source, row, reading);
            const std::string fault = !checked ? "not decoded" : checked->fault;
            if (!fault.empty()) {
                why += (why.empty() ? "" : "; ") + c + " " + fault;
                continue;
            }
            WriteWhole(recordingsDir + "/" + file, *bytes);
            manifest += file + "\t" + c + "\t" + syllable + "\t" + path + "\t" + sha + "\n";
            std::printf("  %s: %s (%s) %s\n", syllable.c_str(), c.c_str(), file.c_str(),
                        checked->tone.verdict.c_str());
            ++result.added;
            added = true;
            break;
        }
        if (added) {
            unrecorded.erase(syllable);
            continue;
        }
        if (chosen.empty()) why = "no character of the collection is read so";
        std::printf("  %s: none -- %s\n", syllable.c_str(), why.c_str());
        unrecorded[syllable] = why;
    }
    ParseRecordingManifest(manifest);
    WriteWhole(manifestPath, manifest);
    std::string text = kUnrecordedHeader;
    for (const auto& [syllable, why] : unrecorded) {
        text += syllable + "\t" + why + "\n";
        result.unrecorded.push_back(syllable + "\t" + why);
    }
    WriteWhole(unrecordedPath, text);
    return result;
}
