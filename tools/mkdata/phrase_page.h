// The phrase search's view of the dictionary lines: which words it collects
// for a character and which syllables the phrase window then plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkdata/dictionary_build.h"

inline constexpr std::size_t kPhrasesPerPage = 5;

// The phrase search's test of a word (GB bytes as RecordWord copies them): it
// begins with code and has a second character but no fourth.
bool QualifiesAsPhrase(const std::string& gbWord, std::uint16_t code);

// Indices of the lines of the first count phrases of code's phrase list, in
// file order.
std::vector<std::size_t> FirstPhrases(const std::vector<DictionaryLine>& lines, std::uint16_t code,
                                      std::size_t count);

// Indices of the lines on the first page of code's phrase list, in file order.
std::vector<std::size_t> FirstPhrasePage(const std::vector<DictionaryLine>& lines,
                                         std::uint16_t code);

// The words that stand a second time among the first count phrases of code's
// list before another word stands once (UTF-8): a list names every word once
// before it names any again, so no page shows a word twice while others wait.
inline constexpr std::size_t kCheckedPhrases = 20;
std::vector<std::string> RepeatedPhrases(const std::vector<DictionaryLine>& lines,
                                         std::uint16_t code, std::size_t count);

// The first line whose word is code's single character (the card's record), or
// lines.size() when there is none.
std::size_t CardLine(const std::vector<DictionaryLine>& lines, std::uint16_t code);
