// Word counts: jieba's word list (dict.txt, UTF-8 lines "word count tag"), the
// weights of a Rime dictionary (pinyin_simp.dict.yaml), and the places of a
// word in two such lists together.
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <unordered_map>

using WordCounts = std::unordered_map<std::string, long long>;  // UTF-8 word -> count

// Lines without a positive count are skipped; a word listed twice keeps its
// larger count.
WordCounts WordFrequencies(const std::string& text);

// jieba's part-of-speech tag of each word ("n", "uj"), the third field of its
// lines with a positive count; a word listed twice keeps its first tag.
using WordTags = std::unordered_map<std::string, std::string>;
WordTags WordTagsOf(const std::string& text);

// The lines "word<TAB>pinyin<TAB>weight" after the header's "..." line. A word
// listed under several readings counts the sum of their weights; lines without
// a positive weight are skipped.
WordCounts DictionaryWeights(const std::string& text);

// A word's places in two lists (1 = the most counted; equal counts share a
// place; a word a list lacks stands after all of that list's words), the worse
// of the two first. Ordering by it, a word that one list overrates follows the
// words that both lists count higher.
struct WordPlace {
    std::size_t worse = 0;
    std::size_t better = 0;
    friend auto operator<=>(const WordPlace&, const WordPlace&) = default;
};

class WordPlaces {
public:
    WordPlaces(const WordCounts& first, const WordCounts& second);
    WordPlace Of(const std::string& word) const;
    // Whether both lists hold the word within their first `place` places.
    bool BothWithin(const std::string& word, std::size_t place) const;

private:
    struct List {
        std::unordered_map<std::string, std::size_t> places;
        std::size_t Of(const std::string& word) const;
    };
    static List Rank(const WordCounts& counts);
    List first_;
    List second_;
};
