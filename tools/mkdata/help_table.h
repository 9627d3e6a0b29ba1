// The lesson table of the help file's first page (docs/help/index.html): one
// row a lesson character, written from the card the builder made for it; and
// the first phrases of the first character, the help pages' examples.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Numbered pinyin ("da4", "nu:3", "lv4", "zi5") with tone marks ("dà", "nǚ",
// "lǜ", "zi"). The mark goes on a, else e, else the o of ou, else the last
// vowel; u: and v are ü; tone 5 has none. Syllables are separated by blanks;
// text without a tone number stays as it is.
std::string ToneMarkedPinyin(const std::string& numbered);

// The first senses of a card's meaning text ("/big/large/great/older ..."),
// joined by "; ", as many as fit in maxChars characters, at least one.
inline constexpr std::size_t kHelpMeaningChars = 24;
std::string ShortMeaning(const std::string& meaning, std::size_t maxChars = kHelpMeaningChars);

struct HelpTableCard {
    std::string character;  // UTF-8
    std::string pinyin;     // numbered, as the card shows it
    std::string meaning;    // the card's meaning text "/s1/s2/..."
    std::size_t strokes = 0;
};

// One <tr> line of the table, newline-terminated:
// <tr><td><font color="#d00000" size="+2">大</font></td><td>da4 (dà)</td>
// <td>big; large; great</td><td>3</td></tr> (on one line).
std::string HelpTableRow(const HelpTableCard& card);
std::string HelpTableRows(const std::vector<HelpTableCard>& cards);

struct HelpPhrase {
    std::string word;     // UTF-8
    std::string pinyin;   // numbered, as the dictionary line has it
    std::string meaning;  // "/s1/s2/..."
};

// One phrase line, newline-terminated, with the first sense only:
// <tr class="phrase"><td>大家</td><td>da4 jia1</td><td>everyone</td></tr>
std::string HelpPhraseRow(const HelpPhrase& phrase);
