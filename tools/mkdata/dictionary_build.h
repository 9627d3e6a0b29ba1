// The dictionary section: which CC-CEDICT entries become lines, how each line
// is laid out in its fixed columns, and in which order the lines are stored.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/dictionary.h"
#include "tools/mkdata/cedict.h"
#include "tools/mkdata/frequency.h"

// The record's columns are the program's (data/dictionary.h); ']' stays before kPinyinEnd.
inline constexpr std::size_t kMaxPinyinBytes = kPinyinEnd - kPinyinColumn - 1;  // 62
// A lesson word leads the file only when both word lists place it this high.
inline constexpr std::size_t kCommonWordPlace = 10000;

struct DictionaryLine {
    std::string utf8Word;
    std::string word;     // GB2312
    std::string pinyin;   // as CC-CEDICT writes it
    std::string meaning;  // "/sense/sense"
    std::string plain;    // the whole line without its newline
};

struct DictionarySources {
    std::vector<CedictEntry> entries;
    WordCounts frequencies;                       // jieba: UTF-8 word -> count
    WordCounts weights;                           // the second list: UTF-8 word -> weight
    std::map<std::string, std::string> readings;  // character -> "da4"
    std::vector<std::string> lessonCharacters;    // UTF-8, slot order
    // When not empty: only the words that begin with one of these characters
    // (UTF-8), whose lines stand in the same order as in the whole dictionary.
    std::vector<std::string> firstCharacters;
    // When given: whether a card's meaning text ("/s1/s2") fits the card's memo.
    std::function<bool(const std::string& meaning)> cardMeaningFits;
};

struct DictionaryBuild {
    std::vector<DictionaryLine> lines;     // in file order
    std::vector<std::string> lessonWords;  // UTF-8, as they lead the file
    std::size_t entriesRead = 0;
    std::size_t notGb2312 = 0;       // word not only GB2312 hanzi
    std::size_t wordTooLong = 0;     // more than 24 bytes
    std::size_t badPinyin = 0;       // not plain ASCII or longer than kMaxPinyinBytes
    std::size_t noMeaning = 0;       // no sense left in plain ASCII
    std::size_t selfReferences = 0;  // only "variant of" the same simplified line
    std::size_t duplicates = 0;      // same word, pinyin and meaning as a line before
    std::size_t sensesCut = 0;       // lines that lost senses to the meaning's limits
    std::size_t cardSensesCut = 0;   // senses the lesson characters' cards leave out
};

// The plain line: word padded to column 24, '[' pinyin ']' padded to column 88,
// a blank, the meaning text from column 89.
std::string FormatDictionaryLine(const std::string& gbWord, const std::string& pinyin,
                                 const std::string& meaning);

// The lesson's own words among words: those of two or more different
// characters, all of them lesson characters, that both lists hold within
// maxPlace; by their places (WordPlace), then in the order given.
std::vector<std::string> LessonWords(const std::vector<std::string>& words,
                                     const std::vector<std::string>& lessonCharacters,
                                     const WordPlaces& places,
                                     std::size_t maxPlace = kCommonWordPlace);

// Lines of one word: the character's primary reading first (single characters),
// real senses before reference entries, lower-case pinyin before capitalised
// names, then source order. Words: the lesson characters in slot order, the
// lesson words (LessonWords), then the others by their places in the two word
// lists (WordPlace), then source order. The first line of every word comes
// before the further lines of the words of several characters, so a phrase
// list names each word once before it names any a second time. The card record
// of a lesson character keeps the leading senses that pass cardMeaningFits
// together, passing over a sense that does not fit the memo even on its own;
// throws std::runtime_error when no sense is left.
DictionaryBuild BuildDictionary(const DictionarySources& sources);
