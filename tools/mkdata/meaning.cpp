#include "tools/mkdata/meaning.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

#include "tools/mkdata/source_text.h"

namespace {

// ICU's transliteration to Latin and then to ASCII, after the few symbols that
// Latin-ASCII leaves out or writes otherwise (superscripts become ^n). Hebrew
// letters, written without vowels, are dropped.
constexpr const char* kAsciiRules = R"(
$super = [:Decomposition_Type=Super:] ;
\u0251 > a ;
[\u00B5\u03BC] > u ;
\u03C0 > pi ;
\u00D7 > x ;
\u00B7 > ' ' ;
[\u00A1\u00BF] > ;
\u00B0 > ' deg' ;
[^$super] { ( $super ) > '^' $1 ;
:: Latin-ASCII ;
:: [:Decomposition_Type=Super:] NFKD ;
:: [[:L:][:M:]-[:Hebrew:]] Any-Latin ;
:: Latin-ASCII ;
)";

const icu::Transliterator& ToAscii() {
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UParseError where{};
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createFromRules(
            "TallowFern-ASCII", icu::UnicodeString::fromUTF8(kAsciiRules), UTRANS_FORWARD, where,
            status));
        if (U_FAILURE(status) || !made)
            throw std::runtime_error(std::string("ICU transliterator: ") + u_errorName(status));
        return made;
    }();
    return *transliterator;
}

// Chinese characters, kana, bopomofo and bopomofo's tone marks.
bool IsCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x2FFF) || (c >= 0x3040 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3007 ||
           c == 0x2C7 || (c >= 0x2C9 && c <= 0x2CB) || c == 0x2D9;
}

// Printable ASCII of text: tabs and slashes (a slash would split the sense)
// become blanks, anything else is dropped.
std::string PrintableAscii(const std::string& utf8) {
    std::string converted;
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
        converted = utf8;  // the rules leave ASCII as it is
    } else {
        icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
        ToAscii().transliterate(text);
        text.toUTF8String(converted);
    }
    std::string out;
    for (char c : converted) {
        if (c == '\t' || c == '/')
            out += ' ';
        else if (c >= 0x20 && c < 0x7F)
            out += c;
    }
    return out;
}

std::string Tidy(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    // Brackets emptied by dropped characters.
    for (std::size_t p; (p = out.find("()")) != std::string::npos;) out.erase(p, 2);
    std::string collapsed;
    for (char c : out) {
        if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
        collapsed += c;
    }
    while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
    return collapsed;
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::size_t DisplayLength(const std::string& meaning) {
    std::size_t n = 0;
    for (std::size_t i = 1; i < meaning.size(); ++i) n += meaning[i] == '/' ? 2 : 1;
    return n;
}

}  // namespace

std::string AsciiSense(const std::string& utf8) {
    const std::vector<char32_t> cps = DecodeUtf8(utf8);
    // A cross-reference is a word with Chinese in it (traditional|simplified,
    // maybe mixed with digits or Latin letters: 95後|95后) and its pinyin in
    // brackets; it is written as the pinyin alone.
    auto endsWord = [](char32_t c) {
        return c == ' ' || c == '(' || c == ',' || c == ':' || c == ';' || c == '"' ||
               c == 0x201C || c == 0x2018;
    };
    std::vector<char32_t> kept;
    std::size_t wordStart = 0;  // in kept
    bool wordHasCjk = false;
    for (std::size_t i = 0; i < cps.size(); ++i) {
        if (cps[i] == '[' && wordHasCjk) {
            std::size_t k = i + 1;
            while (k < cps.size() && cps[k] != ']') ++k;
            if (k < cps.size()) {
                kept.resize(wordStart);
                kept.insert(kept.end(), cps.begin() + static_cast<std::ptrdiff_t>(i + 1),
                            cps.begin() + static_cast<std::ptrdiff_t>(k));
                wordStart = kept.size();
                wordHasCjk = false;
                i = k;
                continue;
            }
        }
        kept.push_back(cps[i]);
        if (endsWord(cps[i])) {
            wordStart = kept.size();
            wordHasCjk = false;
        } else if (IsCjk(cps[i])) {
            wordHasCjk = true;
        }
    }
    // Chinese without pinyin is dropped, with the '|' between its two forms.
    std::string text;
    for (std::size_t i = 0; i < kept.size();) {
        if (!IsCjk(kept[i])) {
            text += EncodeUtf8(kept[i++]);
            continue;
        }
        while (i < kept.size() && (IsCjk(kept[i]) || kept[i] == '|')) ++i;
    }
    return Tidy(PrintableAscii(text));
}

bool IsReferenceSense(const std::string& s) {
    static constexpr std::array<const char*, 8> kPrefixes = {"see ",
                                                             "used in ",
                                                             "variant of ",
                                                             "old variant of ",
                                                             "archaic variant of ",
                                                             "(archaic) variant of ",
                                                             "also written ",
                                                             "erhua variant of "};
    for (const char* prefix : kPrefixes) {
        if (StartsWith(s, prefix)) return true;
    }
    return s.find(" variant of ") != std::string::npos && s.find(" variant of ") < 24;
}

std::optional<std::string> FitMeaning(const std::vector<std::string>& senses,
                                      const std::function<bool(const std::string&)>& fits) {
    std::string meaning;
    for (const std::string& sense : senses) {
        if (sense.empty()) continue;
        std::string candidate = meaning + "/" + sense;
        const bool withinLimits =
            candidate.size() <= kMaxMeaningBytes && DisplayLength(candidate) <= kMaxDisplayChars;
        if (withinLimits && (!fits || fits(candidate))) {
            meaning = std::move(candidate);
            continue;
        }
        // A sense that would not pass fits on its own is passed over (老's first
        // sense, a whole paragraph on a prefix, would leave the card empty).
        if (fits && !fits("/" + sense)) continue;
        if (meaning.empty() && !withinLimits) {
            // A first sense too long by itself: keep its words that fit.
            std::string cut = sense.substr(0, kMaxMeaningBytes - 1);
            const std::size_t blank = cut.rfind(' ');
            if (blank != std::string::npos && blank > 0) cut.resize(blank);
            while (!cut.empty() && (cut.back() == ' ' || cut.back() == ',' || cut.back() == ';'))
                cut.pop_back();
            if (!cut.empty() && (!fits || fits("/" + cut))) meaning = "/" + cut;
        }
        break;
    }
    if (meaning.empty()) return std::nullopt;
    return meaning;
}
