#include "tools/mkdata/meaning.h"

#include <array>

#include "tools/mkdata/source_text.h"

namespace {

// Latin-1 Supplement U+00C0-U+00FF without accents ('\0': dropped).
constexpr const char* kLatin1 =
    "AAAAAAACEEEEIIII"
    "DNOOOOOxOUUUUYTs"
    "aaaaaaaceeeeiiii"
    "dnooooo\0ouuuuyty";
// Latin Extended-A U+0100-U+017F.
constexpr const char* kLatinExtendedA =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "IiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";
// Pinyin vowels with a caron U+01CD-U+01DC.
constexpr const char* kCaron = "AaIiOoUuUuUuUuUu";

bool IsCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x2FFF) || (c >= 0x3040 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3007;
}

// The ASCII form of one character outside the CJK ranges ("" drops it).
std::string AsciiOf(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return std::string(1, static_cast<char>(c));
    if (c == '\t' || c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200A)) return " ";
    if (c >= 0xC0 && c <= 0xFF) {
        const char a = kLatin1[c - 0xC0];
        if (c == 0xC6) return "AE";
        if (c == 0xE6) return "ae";
        if (c == 0xDF) return "ss";
        return a == '\0' ? "" : std::string(1, a);
    }
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x152) return "OE";
        if (c == 0x153) return "oe";
        return std::string(1, kLatinExtendedA[c - 0x100]);
    }
    if (c >= 0x1CD && c <= 0x1DC) return std::string(1, kCaron[c - 0x1CD]);
    if (c >= 0xFF01 && c <= 0xFF5E) {
        if (c == 0xFF0F) return " ";  // a slash would split the sense
        return std::string(1, static_cast<char>(c - 0xFEE0));
    }
    switch (c) {
        case 0x2018:
        case 0x2019:
        case 0x201B:
        case 0x2032:
        case 0xB4:
            return "'";
        case 0x201C:
        case 0x201D:
        case 0x2033:
        case 0x300C:
        case 0x300D:
        case 0x300E:
        case 0x300F:
        case 0xAB:
        case 0xBB:
            return "\"";
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2013:
        case 0x2014:
        case 0x2015:
        case 0x2212:
        case 0x301C:
            return "-";
        case 0x2026:
            return "...";
        case 0x3001:
            return ",";
        case 0x3002:
            return ".";
        case 0x3010:
        case 0x3014:
            return "(";
        case 0x3011:
        case 0x3015:
            return ")";
        case 0x300A:
        case 0x3008:
            return "<";
        case 0x300B:
        case 0x3009:
            return ">";
        case 0xB7:
        case 0x30FB:
        case 0x2022:
            return " ";
        case 0xD7:
            return "x";
        case 0xB0:
            return " deg";
        case 0xB2:
            return "2";
        case 0xB3:
            return "3";
        case 0xB9:
            return "1";
        case 0xB5:
        case 0x3BC:
            return "u";
        case 0x251:
            return "a";
        case 0x259:
            return "e";
        case 0x3B1:
            return "alpha";
        case 0x3B2:
            return "beta";
        case 0x3B3:
            return "gamma";
        case 0x3B4:
            return "delta";
        case 0x3C0:
            return "pi";
        default:
            return "";
    }
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
    std::string out;
    std::size_t i = 0;
    while (i < cps.size()) {
        if (!IsCjk(cps[i])) {
            out += AsciiOf(cps[i]);
            ++i;
            continue;
        }
        // A run of Chinese characters (traditional|simplified), maybe with its pinyin.
        std::size_t j = i;
        while (j < cps.size() && (IsCjk(cps[j]) || cps[j] == '|')) ++j;
        if (j < cps.size() && cps[j] == '[') {
            std::size_t k = j + 1;
            std::string pinyin;
            while (k < cps.size() && cps[k] != ']') pinyin += AsciiOf(cps[k++]);
            if (k < cps.size()) {
                out += pinyin;
                i = k + 1;
                continue;
            }
        }
        i = j;
    }
    return Tidy(out);
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
