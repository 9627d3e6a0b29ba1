#include "tools/mkdata/help_table.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

// The letters a syllable is spelled with; ü stands for u: and v.
struct Letter {
    char base;  // a e i o u; 'v' for ü; any other letter as it is
    bool upper;
};

// Each vowel without a mark and with the marks of tones 1-4, lower and upper case.
struct MarkedVowel {
    char base;
    std::array<const char*, 5> lower, upper;
};
constexpr MarkedVowel kVowels[] = {
    {'a', {"a", "ā", "á", "ǎ", "à"}, {"A", "Ā", "Á", "Ǎ", "À"}},
    {'e', {"e", "ē", "é", "ě", "è"}, {"E", "Ē", "É", "Ě", "È"}},
    {'i', {"i", "ī", "í", "ǐ", "ì"}, {"I", "Ī", "Í", "Ǐ", "Ì"}},
    {'o', {"o", "ō", "ó", "ǒ", "ò"}, {"O", "Ō", "Ó", "Ǒ", "Ò"}},
    {'u', {"u", "ū", "ú", "ǔ", "ù"}, {"U", "Ū", "Ú", "Ǔ", "Ù"}},
    {'v', {"ü", "ǖ", "ǘ", "ǚ", "ǜ"}, {"Ü", "Ǖ", "Ǘ", "Ǚ", "Ǜ"}},
};

bool IsVowel(char base) {
    return std::any_of(std::begin(kVowels), std::end(kVowels),
                       [base](const MarkedVowel& v) { return v.base == base; });
}

// UTF-8 of a vowel with the mark of tone 1-4, or without one (tone 0).
std::string Vowel(char base, bool upper, int tone) {
    for (const MarkedVowel& v : kVowels)
        if (v.base == base) return (upper ? v.upper : v.lower)[static_cast<std::size_t>(tone)];
    return std::string(1, base);
}

std::string ToneMarkedSyllable(const std::string& s) {
    if (s.size() < 2 || s.back() < '1' || s.back() > '5') return s;
    const int tone = s.back() == '5' ? 0 : s.back() - '0';
    std::vector<Letter> letters;
    for (std::size_t k = 0; k + 1 < s.size(); ++k) {
        const char c = s[k];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            if (c != ':') return s;  // not a syllable
            continue;
        }
        const bool umlaut = lower == 'v' || (lower == 'u' && k + 2 < s.size() && s[k + 1] == ':');
        letters.push_back({umlaut ? 'v' : lower, c != lower});
    }
    std::size_t mark = letters.size();
    for (std::size_t k = 0; k < letters.size() && mark == letters.size(); ++k) {
        if (letters[k].base == 'a') mark = k;
    }
    for (std::size_t k = 0; k < letters.size() && mark == letters.size(); ++k) {
        if (letters[k].base == 'e') mark = k;
    }
    for (std::size_t k = 0; k + 1 < letters.size() && mark == letters.size(); ++k) {
        if (letters[k].base == 'o' && letters[k + 1].base == 'u') mark = k;
    }
    for (std::size_t k = letters.size(); k-- > 0 && mark == letters.size();) {
        if (IsVowel(letters[k].base)) mark = k;
    }
    std::string out;
    for (std::size_t k = 0; k < letters.size(); ++k) {
        const Letter& l = letters[k];
        if (IsVowel(l.base)) {
            out += Vowel(l.base, l.upper, k == mark ? tone : 0);
        } else {
            out += l.upper ? static_cast<char>(std::toupper(l.base)) : l.base;
        }
    }
    return out;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string ToneMarkedPinyin(const std::string& numbered) {
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = numbered.find(' ', start);
        out += ToneMarkedSyllable(numbered.substr(start, blank - start));
        if (blank == std::string::npos) return out;
        out += ' ';
        start = blank + 1;
    }
}

std::string ShortMeaning(const std::string& meaning, std::size_t maxChars) {
    std::string out;
    // Byte 0 opens the text (the card skips it); each '/' opens a sense.
    std::size_t start = 1;
    while (start <= meaning.size()) {
        std::size_t end = meaning.find('/', start);
        if (end == std::string::npos) end = meaning.size();
        const std::string sense = meaning.substr(start, end - start);
        start = end + 1;
        if (sense.empty()) continue;
        const std::size_t length = out.empty() ? sense.size() : out.size() + 2 + sense.size();
        if (!out.empty() && length > maxChars) break;
        out += (out.empty() ? "" : "; ") + sense;
    }
    return out;
}

std::string HelpTableRow(const HelpTableCard& card) {
    return "<tr><td><font color=\"#d00000\" size=\"+2\">" + card.character + "</font></td><td>" +
           Escaped(card.pinyin) + " (" + Escaped(ToneMarkedPinyin(card.pinyin)) + ")</td><td>" +
           Escaped(ShortMeaning(card.meaning)) + "</td><td>" + std::to_string(card.strokes) +
           "</td></tr>\n";
}

std::string HelpTableRows(const std::vector<HelpTableCard>& cards) {
    std::string rows;
    for (const HelpTableCard& card : cards) rows += HelpTableRow(card);
    return rows;
}

std::string HelpPhraseRow(const HelpPhrase& phrase) {
    return "<tr class=\"phrase\"><td>" + phrase.word + "</td><td>" + Escaped(phrase.pinyin) +
           "</td><td>" + Escaped(ShortMeaning(phrase.meaning, 0)) + "</td></tr>\n";
}
