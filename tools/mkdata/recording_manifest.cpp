#include "tools/mkdata/recording_manifest.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "lesson/voice_directory.h"
#include "tools/mkdata/source_text.h"

bool ValidVoiceName(const std::string& name) {
    if (name.size() < 2 || name.size() > kMaxVoiceName) return false;
    const char last = name.back();
    if (last < '1' || last > '5') return false;
    return std::all_of(name.begin(), name.end() - 1, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':';
    });
}

bool ValidSyllable(const std::string& syllable) {
    return ValidVoiceName(syllable) && LowerCase(syllable) == syllable;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

int ToneOf(const std::string& syllable) {
    return syllable.empty() ? 0 : syllable.back() - '0';
}

namespace {

// "2/2" into place and places; false unless 1 <= place <= places.
bool ParsePlace(const std::string& text, RecordingRow& row) {
    unsigned place = 0;
    unsigned places = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%u/%u%c", &place, &places, &tail) != 2) return false;
    row.place = place;
    row.places = places;
    return place >= 1 && place <= places;
}

// "0.412-0.871" into the cut points; false unless 0 <= from < to.
bool ParseCut(const std::string& text, RecordingRow& row) {
    char tail = 0;
    if (std::sscanf(text.c_str(), "%lf-%lf%c", &row.cutFrom, &row.cutTo, &tail) != 2) return false;
    return row.cutFrom >= 0 && row.cutTo > row.cutFrom;
}

}  // namespace

std::string CutPlace(const RecordingRow& row) {
    return std::to_string(row.place) + "/" + std::to_string(row.places);
}

std::string CutPoints(const RecordingRow& row) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f-%.3f", row.cutFrom, row.cutTo);
    return text;
}

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
        if (cells.size() != 5 && cells.size() != 6 && cells.size() != 9)
            throw std::runtime_error("manifest row without 5, 6 or 9 cells: " + line);
        RecordingRow row{
            cells[0], cells[1], cells[2], cells[3], cells[4], cells.size() >= 6 ? cells[5] : "",
            "",       0,        0,        0,        0};
        const bool hexHash = row.sha256.size() == 64 &&
                             std::all_of(row.sha256.begin(), row.sha256.end(), [](char c) {
                                 return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                             });
        bool cut = true;
        if (cells.size() == 9) {
            row.word = cells[6];
            const auto word = DecodeUtf8(row.word);
            const auto character = DecodeUtf8(row.character);
            cut = ParsePlace(cells[7], row) && ParseCut(cells[8], row) &&
                  word.size() >= row.places && character.size() == 1 &&
                  // the character stands at the syllable's place (no erhua before it)
                  word[row.place - 1] == character[0];
        }
        if (!hexHash || !cut || !ValidSyllable(row.syllable) || row.file.empty() ||
            row.file.find('/') != std::string::npos || DecodeUtf8(row.character).size() != 1)
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

std::string Sha256Hex(const std::string& bytes) {
    return Sha256Hex(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}
