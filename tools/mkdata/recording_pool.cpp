#include "tools/mkdata/recording_pool.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <tuple>

#include "tools/mkdata/source_text.h"

RecordingPool::RecordingPool(std::string dir, std::vector<RecordingRow> rows,
                             const CharacterReadings& readings,
                             const std::unordered_map<std::string, long long>& frequencies)
    : dir_(std::move(dir)), rowCount_(rows.size()) {
    // Per syllable: whole characters before cuts, sole readings before
    // primary ones, then the commonest character (cuts: in manifest order).
    std::map<std::string, std::vector<std::pair<std::tuple<bool, int, long long>, std::size_t>>>
        ranked;
    std::vector<ReadingCheck> checks;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RecordingRow& row = rows[i];
        const bool cut = !row.word.empty();
        checks.push_back(
            cut ? CheckCutReading(readings, row.word, row.place, row.places, row.syllable)
                : CheckReading(readings, row.character, row.syllable));
        if (checks.back().fit == ReadingFit::None) {
            rejected_.push_back(row.file + ": " + (cut ? row.word : row.character) +
                                " is not read " + row.syllable +
                                (cut ? " at " + CutPlace(row) : ""));
            continue;
        }
        const auto f = frequencies.find(row.character);
        ranked[row.syllable].push_back({{cut, checks.back().fit == ReadingFit::Sole ? 0 : 1,
                                         cut || f == frequencies.end() ? 0 : -f->second},
                                        i});
    }
    for (auto& [syllable, list] : ranked) {
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [rank, i] : list) candidates_[syllable].push_back({rows[i], checks[i]});
    }
}

PoolRecording* RecordingPool::Decode(const RecordingRow& row, const ReadingCheck& reading) {
    const std::string path = dir_ + "/" + row.file;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        rejected_.push_back(row.file + ": missing");
        return nullptr;
    }
    const std::string sha = Sha256Hex(*bytes);
    if (sha != row.sha256) {
        rejected_.push_back(row.file + ": SHA-256 " + sha + " differs from the manifest");
        return nullptr;
    }
    auto processed = ProcessRecording(path, row, reading);
    if (!processed) {
        rejected_.push_back(row.file + ": not decoded");
        return nullptr;
    }
    decoded_.push_back(std::move(*processed));
    return &decoded_.back();
}

const PoolRecording* RecordingPool::Find(const std::string& syllable) {
    const auto known = found_.find(syllable);
    if (known != found_.end()) return known->second;
    PoolRecording* pick = nullptr;
    std::vector<PoolRecording*> tried;
    const auto candidates = candidates_.find(syllable);
    if (candidates != candidates_.end()) {
        for (const auto& [row, reading] : candidates->second) {
            PoolRecording* decoded = Decode(row, reading);
            if (decoded == nullptr) continue;
            tried.push_back(decoded);
            if (decoded->fault.empty()) {
                pick = decoded;
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
