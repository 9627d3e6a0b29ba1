#include "tools/mkdata/coverage.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/source_text.h"

std::vector<std::string> CommonestCharacters(const WordCounts& counts, std::size_t n) {
    std::map<std::string, long long> total;
    for (const auto& [word, count] : counts) {
        std::vector<char32_t> points;
        try {
            points = DecodeUtf8(word);
        } catch (const std::runtime_error&) {
            continue;
        }
        for (char32_t point : points) {
            const std::string character = EncodeUtf8(point);
            if (Gb2312Hanzi(character)) total[character] += count;
        }
    }
    std::vector<std::tuple<long long, char32_t, std::string>> ranked;
    for (auto& [character, count] : total)
        ranked.emplace_back(-count, DecodeUtf8(character).front(), character);
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < ranked.size() && i < n; ++i) out.push_back(std::get<2>(ranked[i]));
    return out;
}

std::vector<CoverageEntry> MeasureCoverage(const std::vector<std::string>& characters,
                                           const std::vector<DictionaryLine>& lines,
                                           const RecordedQuery& recorded,
                                           const OutlineAlone& outline, double floor) {
    std::vector<CoverageEntry> out;
    for (const std::string& character : characters) {
        CoverageEntry entry{character, {}, {}};
        const auto gb = Gb2312Hanzi(character);
        if (!gb) throw std::runtime_error(character + " is not a GB2312 hanzi");
        const std::uint16_t code = GbCodeAt(*gb, 0);
        const std::size_t card = CardLine(lines, code);
        if (card == lines.size()) {
            entry.reason = "no dictionary line of its own";
            out.push_back(std::move(entry));
            continue;
        }
        entry.reading = LowerCase(lines[card].pinyin);
        if (RecordedSyllable(lines[card].pinyin, recorded).empty()) {
            entry.reason = "no human recording of its card syllable";
        } else {
            try {
                const double iou = outline(code);
                if (iou < floor) {
                    char text[64];
                    std::snprintf(text, sizeof text, "drawn at %.3f alone (floor %.2f)", iou,
                                  floor);
                    entry.reason = text;
                }
            } catch (const std::runtime_error& e) {
                entry.reason = e.what();
            }
        }
        out.push_back(std::move(entry));
    }
    return out;
}

std::string CoverageTable(const std::vector<CoverageEntry>& entries,
                          std::span<const std::size_t> firsts) {
    std::string out = "| the commonest by jieba's counts | can stand in a lesson |\n|---|---|\n";
    std::vector<std::size_t> counts;
    for (std::size_t n : firsts)
        if (n <= entries.size()) counts.push_back(n);
    if (counts.empty() || counts.back() < entries.size()) counts.push_back(entries.size());
    for (std::size_t n : counts) {
        const auto able = static_cast<std::size_t>(
            std::count_if(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(n),
                          [](const CoverageEntry& e) { return e.reason.empty(); }));
        char line[96];
        std::snprintf(line, sizeof line, "| %zu | %zu (%.1f %%) |\n", n, able,
                      n ? 100.0 * static_cast<double>(able) / static_cast<double>(n) : 0.0);
        out += line;
    }
    out += "\n| rank | character | card reading | why it cannot |\n|---|---|---|---|\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CoverageEntry& e = entries[i];
        if (e.reason.empty()) continue;
        out += "| " + std::to_string(i + 1) + " | " + e.character + " | " + e.reading + " | " +
               e.reason + " |\n";
    }
    return out;
}
