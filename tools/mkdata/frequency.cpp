#include "tools/mkdata/frequency.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "tools/mkdata/source_text.h"

namespace {

// The count after a separator, when it is a positive number ending the field.
long long CountAt(const std::string& line, std::size_t separator, char fieldEnd) {
    const char* digits = line.c_str() + separator + 1;
    char* end = nullptr;
    const long long n = std::strtoll(digits, &end, 10);
    if (end == digits || n <= 0 || (*end != fieldEnd && *end != '\0')) return 0;
    return n;
}

// Calls visit(line, end of the word, count) for each jieba line with a positive count.
void ForEachJiebaLine(
    const std::string& text,
    const std::function<void(const std::string&, std::size_t, long long)>& visit) {
    for (const std::string& line : SplitLines(text)) {
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos || blank == 0) continue;
        const long long n = CountAt(line, blank, ' ');
        if (n != 0) visit(line, blank, n);
    }
}

}  // namespace

WordCounts WordFrequencies(const std::string& text) {
    WordCounts counts;
    ForEachJiebaLine(text, [&](const std::string& line, std::size_t blank, long long n) {
        auto& slot = counts[line.substr(0, blank)];
        if (n > slot) slot = n;
    });
    return counts;
}

WordTags WordTagsOf(const std::string& text) {
    WordTags tags;
    ForEachJiebaLine(text, [&](const std::string& line, std::size_t blank, long long) {
        const std::size_t tag = line.find(' ', blank + 1);
        if (tag != std::string::npos) tags.emplace(line.substr(0, blank), line.substr(tag + 1));
    });
    return tags;
}

WordCounts DictionaryWeights(const std::string& text) {
    WordCounts weights;
    bool body = false;
    for (const std::string& line : SplitLines(text)) {
        if (!body) {
            body = line == "...";
            continue;
        }
        const std::size_t tab = line.find('\t');
        const std::size_t lastTab = line.rfind('\t');
        if (tab == std::string::npos || tab == 0 || lastTab == tab || line[0] == '#') continue;
        const long long n = CountAt(line, lastTab, '\0');
        if (n > 0) weights[line.substr(0, tab)] += n;
    }
    return weights;
}

WordPlaces::List WordPlaces::Rank(const WordCounts& counts) {
    std::vector<long long> sorted;
    sorted.reserve(counts.size());
    for (const auto& [word, count] : counts) sorted.push_back(count);
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    List list;
    list.places.reserve(counts.size());
    for (const auto& [word, count] : counts) {
        const auto higher = std::lower_bound(sorted.begin(), sorted.end(), count, std::greater<>());
        list.places.emplace(word, static_cast<std::size_t>(higher - sorted.begin()) + 1);
    }
    return list;
}

std::size_t WordPlaces::List::Of(const std::string& word) const {
    const auto found = places.find(word);
    return found == places.end() ? places.size() + 1 : found->second;
}

WordPlaces::WordPlaces(const WordCounts& first, const WordCounts& second)
    : first_(Rank(first)), second_(Rank(second)) {}

WordPlace WordPlaces::Of(const std::string& word) const {
    const std::size_t a = first_.Of(word);
    const std::size_t b = second_.Of(word);
    return {std::max(a, b), std::min(a, b)};
}

bool WordPlaces::BothWithin(const std::string& word, std::size_t place) const {
    const auto a = first_.places.find(word);
    const auto b = second_.places.find(word);
    return a != first_.places.end() && b != second_.places.end() && a->second <= place &&
           b->second <= place;
}
