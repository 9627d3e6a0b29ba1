// Word counts: jieba's word list (dict.txt, UTF-8 lines "word count tag").
#pragma once

#include <string>
#include <unordered_map>

// UTF-8 word -> count. Lines without a positive count are skipped; a word
// listed twice keeps its larger count.
std::unordered_map<std::string, long long> WordFrequencies(const std::string& text);
