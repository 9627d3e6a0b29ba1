// Primary readings of single characters (Unihan kMandarin) as tone-numbered
// pinyin in CC-CEDICT's spelling ("da4", "lu:4").
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkdata/cedict.h"
#include "tools/mkdata/frequency.h"

// Tone-marked pinyin ("zhōng", "lǜ", "ma") as "zhong1", "lu:4", "ma5";
// nullopt when the text is not one pinyin syllable.
std::optional<std::string> NumberedPinyin(const std::string& toneMarkedUtf8);

// Character (UTF-8) -> the reading its card shows, its lesson name and its
// voice use, from the text of Unihan_Readings.txt: the first kMandarin value,
// numbered, except that a neutral first value ("de dì", "zi") gives way
// to a toned reading of a CC-CEDICT line of its own (lower case, first sense
// not a reference) when CC-CEDICT has no such line in the neutral reading
// (匙 shi5 only "used in"), when kMandarin lists the toned reading too (地), or
// when jieba tags the character alone as a noun, verb or adjective (子 ng);
// particles (的 uj, 了 ul, 吗 y) keep it. The toned reading is kMandarin's
// next value that has such a line, else the first such line in source order.
std::map<std::string, std::string> CardReadings(const std::string& unihanReadings,
                                                const std::vector<CedictEntry>& entries,
                                                const WordTags& jiebaTags);
