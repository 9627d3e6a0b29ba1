#include "tools/mkdata/cedict.h"

#include "tools/mkdata/source_text.h"

std::vector<CedictEntry> ParseCedict(const std::string& text) {
    std::vector<CedictEntry> entries;
    for (const std::string& line : SplitLines(text)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space1 = line.find(' ');
        if (space1 == std::string::npos) continue;
        const std::size_t space2 = line.find(' ', space1 + 1);
        if (space2 == std::string::npos) continue;
        const std::size_t open = line.find('[', space2);
        const std::size_t close = line.find(']', open == std::string::npos ? 0 : open);
        if (open != space2 + 1 || close == std::string::npos) continue;
        const std::size_t firstSlash = line.find('/', close);
        if (firstSlash == std::string::npos) continue;
        CedictEntry entry;
        entry.traditional = line.substr(0, space1);
        entry.simplified = line.substr(space1 + 1, space2 - space1 - 1);
        entry.pinyin = line.substr(open + 1, close - open - 1);
        std::size_t start = firstSlash + 1;
        while (start < line.size()) {
            const std::size_t end = line.find('/', start);
            if (end == std::string::npos) break;  // text after the last slash
            if (end > start) entry.senses.push_back(line.substr(start, end - start));
            start = end + 1;
        }
        if (entry.senses.empty()) continue;
        entry.sourceIndex = entries.size();
        entries.push_back(std::move(entry));
    }
    return entries;
}
