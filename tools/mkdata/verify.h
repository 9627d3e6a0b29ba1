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
    std::string pinyin;
    std::string display;  // MeaningForDisplay of the meaning
};

struct VerifyOptions {
    // The lesson characters in slot order, and when given the card each must
    // read back.
    std::vector<std::uint16_t> codes;
    std::vector<CardExpectation> cards;
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
