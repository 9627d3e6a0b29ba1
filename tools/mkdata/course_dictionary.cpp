#include "tools/mkdata/course_dictionary.h"

#include <unordered_set>

#include "tools/mkdata/gb2312.h"

namespace {

std::uint16_t FirstCode(const DictionaryLine& line) {
    return line.word.size() >= 2 ? GbCodeAt(line.word, 0) : 0;
}

}  // namespace

std::vector<DictionaryLine> LinesBeginningWith(const std::vector<DictionaryLine>& lines,
                                               std::uint16_t code) {
    std::vector<DictionaryLine> out;
    for (const DictionaryLine& line : lines)
        if (FirstCode(line) == code) out.push_back(line);
    return out;
}

std::vector<DictionaryLine> WithSettledLines(const std::vector<DictionaryLine>& lines,
                                             const std::vector<SettledCharacter>& settled) {
    std::unordered_set<std::uint16_t> codes;
    std::vector<DictionaryLine> out;
    for (const SettledCharacter& c : settled) {
        if (!codes.insert(c.code).second) continue;
        out.insert(out.end(), c.lines.begin(), c.lines.end());
    }
    for (const DictionaryLine& line : lines)
        if (!codes.contains(FirstCode(line))) out.push_back(line);
    return out;
}
