// The card's meaning in the main window's memo, laid out by the memo itself:
// 16-pixel lines of Liberation Sans through Qt, with the memo's scroll bar
// shown (the narrowest the text gets). Needs a QApplication.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TMemo;

class CardMemo {
public:
    CardMemo();
    ~CardMemo();
    CardMemo(const CardMemo&) = delete;
    CardMemo& operator=(const CardMemo&) = delete;

    // Fills the memo as the card does (an empty line, then the display form of
    // the meaning text "/s1/s2") and returns the number of laid-out lines.
    int Lines(const std::string& meaning);
    // Whole lines the memo shows.
    int LinesShown() const;
    bool Fits(const std::string& meaning) { return Lines(meaning) <= LinesShown(); }

private:
    std::unique_ptr<TMemo> memo_;
};

struct CardMeaning {
    std::uint16_t code = 0;
    bool found = false;
    std::string meaning;  // meaning text as RecordMeaning copies it
    std::string display;  // MeaningForDisplay of it
};

// The card record of each code in a built lesson file, read as the card reads
// it: the first single-character record of the code from the dictionary's start.
std::vector<CardMeaning> ReadCardMeanings(const std::string& datPath,
                                          std::span<const std::uint16_t> codes);
