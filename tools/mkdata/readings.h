// Primary readings of single characters (Unihan kMandarin) as tone-numbered
// pinyin in CC-CEDICT's spelling ("da4", "lu:4").
#pragma once

#include <map>
#include <optional>
#include <string>

// Tone-marked pinyin ("zhōng", "lǜ", "ma") as "zhong1", "lu:4", "ma5";
// nullopt when the text is not one pinyin syllable.
std::optional<std::string> NumberedPinyin(const std::string& toneMarkedUtf8);

// Character (UTF-8) -> its first kMandarin reading, numbered, from the text of
// Unihan_Readings.txt.
std::map<std::string, std::string> PrimaryReadings(const std::string& unihanReadings);
