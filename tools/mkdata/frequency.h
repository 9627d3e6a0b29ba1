// Word frequencies: "word,count" lines (the Leiden corpus list of the hanzi package).
#pragma once

#include <string>
#include <unordered_map>

std::unordered_map<std::string, long long> WordFrequencies(const std::string& text);
