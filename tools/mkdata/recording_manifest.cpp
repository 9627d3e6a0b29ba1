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
        if (!hexHash || !ValidSyllable(row.syllable) || row.file.empty() ||
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
