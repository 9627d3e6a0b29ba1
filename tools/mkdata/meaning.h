// Meaning texts of the dictionary lines: plain ASCII senses, at most 173 bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr std::size_t kMaxMeaningBytes = 173;  // columns 89-261
inline constexpr std::size_t kMaxDisplayChars = 199;

// One sense as plain printable ASCII: a Chinese cross-reference such as
// "大夫[dai4 fu5]" or "個|个[ge4]" becomes its pinyin, other Chinese text is
// dropped, and the rest goes through ICU's "Any-Latin; Latin-ASCII": accents
// are lost, other scripts are transliterated, typographic punctuation becomes
// its ASCII form. What is still not ASCII is dropped; blanks are collapsed.
std::string AsciiSense(const std::string& utf8);

// A sense that only points to another entry ("see ...", "used in ...",
// "variant of ..." and the like).
bool IsReferenceSense(const std::string& asciiSense);

// The meaning text "/s1/s2/..." of as many leading senses as fit in
// kMaxMeaningBytes with a display form of at most kMaxDisplayChars and, when
// given, pass fits, which also passes over a sense that does not pass it on
// its own; a first sense that does not fit the bytes alone is cut at a blank.
// nullopt when no sense is left.
std::optional<std::string> FitMeaning(
    const std::vector<std::string>& asciiSenses,
    const std::function<bool(const std::string& meaning)>& fits = {});
