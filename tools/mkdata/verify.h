// Reads a built lesson data file back through the program's own readers and
// checks every section against the limits the program relies on.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "glyph/char_index.h"
#include "lesson/voice_directory.h"

struct CardExpectation {
    const char* pinyin;
    const char* displayPrefix;  // start of MeaningForDisplay
};

// The card records of the lesson characters, in slot order (kLessonCodes).
extern const std::vector<CardExpectation> kCardExpectations;

struct VerifyOptions {
    // When given: the expected stroke order of each slot, and the plain lines
    // the dictionary section must descramble to, in order.
    std::vector<std::vector<std::uint8_t>> strokeOrders;
    std::vector<std::string> plainLines;
};

struct VerifyReport {
    std::vector<std::string> failures;  // empty when everything holds
    std::string figures;                // what was measured, for printing
    bool ok() const { return failures.empty(); }
};

VerifyReport VerifyLessonData(const std::string& datPath, std::span<const CharIndexEntry> charIndex,
                              std::span<const VoiceEntry> voiceDirectory,
                              const VerifyOptions& options = {});
