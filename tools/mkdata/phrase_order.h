// The order of the dictionary lines on the lesson characters' first phrase
// pages, settled once the recordings are known: every word on those pages is
// spoken in full, and together with the cards they need no more names than
// the voice directory holds.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/mkdata/dictionary_build.h"
#include "tools/mkdata/voice_names.h"

// Moves the line of each word on a lesson character's first phrase page that
// has a syllable without a recording to just behind that page (its further
// readings stay where they are), until every first page is spoken in full.
// Where no phrase spoken in full is left to take its place (a character of few
// words), the line leaves the dictionary instead. Returns the words moved
// (UTF-8); leftOut, when given, receives the words left out.
std::vector<std::string> MoveUnspokenPhrasesBack(std::vector<DictionaryLine>& lines,
                                                 const std::vector<std::uint16_t>& lessonCodes,
                                                 const RecordedQuery& recorded,
                                                 std::vector<std::string>* leftOut = nullptr);

// While the card syllables and those of the first phrase pages need more than
// kVoiceCount names, a page word leaves for the first phrase behind its page
// that needs no name the pages would lose: of the words with names of their
// own, the one with most, then the lowest on its page, then of the later
// character. The taker goes to the end of the page, the word just behind it.
// The lesson's own words (of lesson characters only) stay, and a word not
// spoken in full never takes a place. Returns the words moved (UTF-8);
// throws std::runtime_error when no word can give way.
std::vector<std::string> MovePhrasesBackToFitVoices(std::vector<DictionaryLine>& lines,
                                                    const std::vector<std::uint16_t>& lessonCodes,
                                                    const RecordedQuery& recorded);
