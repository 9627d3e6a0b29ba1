#include "tools/mkdata/verify.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "data/des.h"
#include "data/descramble.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "glyph/outline.h"
#include "glyph/strokes.h"
#include "tools/mkdata/lesson_data.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/wav.h"

namespace {

std::string Format(const char* format, auto... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

struct Checker {
    VerifyReport report;
    void Fail(const std::string& what) { report.failures.push_back(what); }
    void Note(const std::string& what) { report.figures += what + "\n"; }
};

void CheckOutlines(Checker& c, const std::string& path, std::span<const CharIndexEntry> index,
                   const VerifyOptions& options) {
    std::uint32_t offset = 0;
    for (std::size_t p = 0; p < index.size(); ++p) {
        const CharIndexDecoded entry = DecodeCharIndexEntry(index[p]);
        const std::uint16_t code = p < options.codes.size() ? options.codes[p] : 0;
        if (entry.code != code) {
            c.Fail(Format("index entry %zu decodes to code 0x%04X", p, entry.code));
            return;
        }
        if (entry.size <= 0 ||
            offset + static_cast<std::uint32_t>(entry.size) > lesson_file::kStrokeOrderOffset) {
            c.Fail(Format("outline of 0x%04X (%d bytes at %u) passes the section", code, entry.size,
                          offset));
            return;
        }
        auto blob = lesson_file::ReadRange(path, offset, static_cast<std::size_t>(entry.size));
        offset += static_cast<std::uint32_t>(entry.size);
        if (blob.status != lesson_file::ReadStatus::Ok) {
            c.Fail(Format("outline of 0x%04X cannot be read", code));
            continue;
        }
        DescrambleStream(blob.bytes.data(), blob.bytes.size(), kOutlineFirstKeyIndex);
        OutlinePoints points{};
        ContourCounts counts{};
        std::uint16_t contours = 0;
        const OutlineStatus status = ParseOutline(blob.bytes, points, counts, contours);
        if (status != OutlineStatus::Ok) {
            c.Fail(Format("outline of 0x%04X does not parse (status %d)", code,
                          static_cast<int>(status)));
            continue;
        }
        if (contours == 0 || contours > kMaxStrokeSteps) {
            c.Fail(Format("outline of 0x%04X has %u contours", code, contours));
            continue;
        }
        std::size_t total = 0;
        std::size_t longest = 0;
        for (std::size_t k = 0; k < contours; ++k) {
            total += counts[k];
            longest = std::max<std::size_t>(longest, counts[k]);
        }

        const std::uint32_t slotOffset =
            lesson_file::kStrokeOrderOffset +
            static_cast<std::uint32_t>(p) * lesson_file::kStrokeOrderRecordSize;
        auto record = lesson_file::ReadRange(path, slotOffset, lesson_file::kStrokeOrderRecordSize);
        if (record.status != lesson_file::ReadStatus::Ok) {
            c.Fail(Format("stroke-order record %zu cannot be read", p));
            continue;
        }
        DesDecryptBuffer(record.bytes.data(), kStrokeOrderKey, record.bytes.size());
        std::vector<std::uint8_t> steps(record.bytes.begin(), record.bytes.begin() + contours);
        std::vector<std::uint8_t> sorted = steps;
        std::sort(sorted.begin(), sorted.end());
        bool permutation = true;
        for (std::size_t k = 0; k < sorted.size(); ++k) permutation &= sorted[k] == k + 1;
        if (!permutation) c.Fail(Format("stroke order of slot %zu is not a permutation", p));
        if (std::any_of(record.bytes.begin() + contours, record.bytes.end(),
                        [](std::uint8_t b) { return b != 0; }))
            c.Fail(Format("stroke-order record %zu has bytes after its last step", p));
        if (p < options.strokeOrders.size() && options.strokeOrders[p] != steps)
            c.Fail(Format("stroke order of slot %zu differs from the source's", p));
        c.Note(Format("  outline 0x%04X: %5d bytes, %2u contours, %3zu points (longest %zu)", code,
                      entry.size, contours, total, longest));
    }
    c.Note(Format("  outline section: %u of %u bytes", offset, lesson_file::kStrokeOrderOffset));
}

std::map<std::string, std::int32_t> CheckVoices(Checker& c, const std::string& path,
                                                std::span<const VoiceEntry> directory) {
    std::map<std::string, std::int32_t> names;
    std::uint64_t offset = 0;
    for (const VoiceEntry& stored : directory) {
        VoiceEntry entry = stored;
        UnscrambleVoiceName(entry);
        if (entry.name[7] != 0) {
            c.Fail("voice name without terminator");
            continue;
        }
        const std::string name(reinterpret_cast<const char*>(entry.name));
        const std::int32_t length = VoiceRecordingLength(entry);
        if (name.empty() || length <= 0 ||
            entry.lengthCode != length * VoiceLengthDivisor(name.size())) {
            c.Fail("voice entry \"" + name + "\" has a bad length code");
            continue;
        }
        if (!names.emplace(name, length).second) c.Fail("voice \"" + name + "\" listed twice");
        auto image = lesson_file::ReadRange(path, lesson_file::kVoiceOffset + offset,
                                            static_cast<std::size_t>(length));
        offset += static_cast<std::uint64_t>(length);
        if (image.status != lesson_file::ReadStatus::Ok) {
            c.Fail("recording \"" + name + "\" cannot be read");
            continue;
        }
        DescrambleStream(image.bytes.data(), image.bytes.size(), kVoiceFirstKeyIndex);
        std::string error;
        const auto info = InspectWav(image.bytes, error);
        if (!info) {
            c.Fail("recording \"" + name + "\" is not a WAV image: " + error);
            continue;
        }
        c.Note(Format(
            "  voice %-7s %6d bytes  %5u Hz %2d-bit  %.3f s  RMS %6.1f dBFS  peak %6.1f dBFS",
            name.c_str(), length, info->sampleRate, info->bitsPerSample, info->seconds, info->rmsDb,
            info->peakDb));
    }
    if (offset > kVoiceBudget)
        c.Fail(Format("voice section of %llu bytes passes the dictionary",
                      static_cast<unsigned long long>(offset)));
    c.Note(Format("  voice section: %llu of %zu bytes", static_cast<unsigned long long>(offset),
                  kVoiceBudget));
    return names;
}

bool PrintableAscii(const char* s) {
    for (; *s; ++s) {
        if (static_cast<unsigned char>(*s) < 0x20 || static_cast<unsigned char>(*s) > 0x7E)
            return false;
    }
    return true;
}

void CheckDictionary(Checker& c, const std::string& path,
                     const std::map<std::string, std::int32_t>& voices,
                     const VerifyOptions& options) {
    // The stored bytes: every line ends with a newline within 262 bytes.
    std::FILE* raw = std::fopen(path.c_str(), "rb");
    if (raw == nullptr || std::fseek(raw, lesson_file::kDictionaryOffset, SEEK_SET) != 0) {
        c.Fail("dictionary section cannot be opened");
        if (raw) std::fclose(raw);
        return;
    }
    std::size_t storedLines = 0;
    std::size_t sectionBytes = 0;
    std::size_t lineLength = 0;
    std::size_t longest = 0;
    for (int ch; (ch = std::fgetc(raw)) != EOF;) {
        ++sectionBytes;
        if (ch == '\n') {
            ++storedLines;
            longest = std::max(longest, lineLength);
            lineLength = 0;
        } else {
            ++lineLength;
        }
    }
    std::fclose(raw);
    if (lineLength != 0) c.Fail("the last dictionary line has no newline");
    if (longest > static_cast<std::size_t>(kMaxStoredLine))
        c.Fail(Format("a dictionary line holds %zu bytes", longest));

    // The records as the card and the phrase search read them.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    std::fseek(in, lesson_file::kDictionaryOffset, SEEK_SET);
    char line[kLineBufferSize];
    std::size_t records = 0;
    std::size_t badColumns = 0;
    std::size_t mismatches = 0;
    std::map<std::uint16_t, std::string> cards;
    std::map<std::uint16_t, std::vector<std::string>> pages;
    while (ReadDictionaryRecord(in, line) == RecordStatus::Record) {
        const std::size_t length = std::strlen(line);
        if (records < options.plainLines.size() && options.plainLines[records] != line)
            ++mismatches;
        ++records;
        char word[kWordBufferSize];
        char pinyin[kPinyinBufferSize];
        char meaning[kMeaningBufferSize];
        RecordWord(line, word);
        RecordPinyin(line, pinyin);
        RecordMeaning(line, meaning);
        const std::size_t wordLength = std::strlen(word);
        const std::size_t pinyinLength = std::strlen(pinyin);
        const bool columnsOk = wordLength >= 2 && wordLength % 2 == 0 &&
                               length > kMeaningColumn + 1 && line[kPinyinColumn - 1] == '[' &&
                               line[kPinyinColumn + pinyinLength] == ']' &&
                               line[kMeaningColumn - 1] == ' ' && meaning[0] == '/' &&
                               meaning[std::strlen(meaning) - 1] != '/' && PrintableAscii(pinyin) &&
                               PrintableAscii(meaning) && pinyinLength > 0;
        if (!columnsOk) {
            if (badColumns++ < 3)
                c.Fail(Format("dictionary record %zu breaks the columns", records));
            continue;
        }
        const std::string w(word);
        if (w.size() == 2) {
            const auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(w[0]) * 256 +
                                                         static_cast<unsigned char>(w[1]));
            if (!cards.count(code)) {
                char display[kDisplayBufferSize];
                MeaningForDisplay(meaning, display);
                cards[code] = std::string(pinyin) + "|" + display;
            }
        }
        for (std::uint16_t code : options.codes) {
            auto& page = pages[code];
            if (page.size() < kPhrasesPerPage && QualifiesAsPhrase(w, code)) page.push_back(pinyin);
        }
    }
    std::fclose(in);
    if (records != storedLines)
        c.Fail(Format("%zu records read of %zu lines", records, storedLines));
    if (!options.plainLines.empty() && (mismatches != 0 || records != options.plainLines.size()))
        c.Fail(Format("%zu records differ from the lines written (%zu read, %zu written)",
                      mismatches, records, options.plainLines.size()));
    c.Note(Format("  dictionary: %zu lines, %zu bytes, longest line %zu bytes", records,
                  sectionBytes, longest));

    for (std::size_t slot = 0; slot < options.codes.size(); ++slot) {
        const std::uint16_t code = options.codes[slot];
        const auto found = cards.find(code);
        const bool expected =
            found != cards.end() &&
            (slot >= options.cards.size() ||
             found->second == options.cards[slot].pinyin + "|" + options.cards[slot].display);
        if (!expected) {
            c.Fail(Format("card record of 0x%04X reads \"%s\"", code,
                          found == cards.end() ? "(none)" : found->second.c_str()));
            continue;
        }
        c.Note(Format("  card 0x%04X: %.70s", code, found->second.c_str()));
    }
    for (std::uint16_t code : options.codes) {
        const auto& page = pages[code];
        std::string spoken;
        // A character that begins no word (们) is a lesson character all the
        // same: its phrase window says "No phrases".
        if (page.empty()) c.Note(Format("  0x%04X begins no phrase: \"No phrases\"", code));
        for (const std::string& pinyin : page) {
            for (const std::string& s : SpokenSyllables(pinyin.c_str())) {
                if (!voices.count(s))
                    c.Fail(Format("phrase \"%s\" of 0x%04X: no voice \"%s\"", pinyin.c_str(), code,
                                  s.c_str()));
            }
            spoken += (spoken.empty() ? "" : ", ") + pinyin;
        }
        c.Note(Format("  first phrase page of 0x%04X: %s", code, spoken.c_str()));
    }
}

}  // namespace

VerifyReport VerifyLessonData(const std::string& datPath, std::span<const CharIndexEntry> charIndex,
                              std::span<const VoiceEntry> voiceDirectory,
                              const VerifyOptions& options) {
    Checker c;
    if (charIndex.size() != options.codes.size())
        c.Fail("index table is not of five entries");
    else
        CheckOutlines(c, datPath, charIndex, options);
    const auto voices = CheckVoices(c, datPath, voiceDirectory);
    CheckDictionary(c, datPath, voices, options);
    return c.report;
}
