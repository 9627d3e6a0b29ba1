// The phrase search behind "click here to Get Phrases": the words of two or
// three characters that begin with the selected character, in file order.
#pragma once

#include <cstdio>
#include <string>

#include "data/dictionary.h"

inline constexpr int kPhraseSlots = 100;
inline constexpr const char* kNoPhrasesMessage = "No phrases";

// The phrase table: slot i holds a word and its whole dictionary record. The
// found words occupy slots from 0; a slot whose first byte is zero is empty.
extern char PhraseWords[kPhraseSlots][kWordBufferSize];
extern char PhraseLines[kPhraseSlots][kLineBufferSize];

// Fills the phrase table from a stream positioned at the start of the
// dictionary section; stops after 100 words or at the end of the file (a last
// line without a newline is discarded). Returns the number of words.
int CollectPhrases(std::FILE* stream, const char* character);

// Label10Click: fills the phrase table from dat/zw.dat, then shows the phrase
// window modally, or "No phrases".
void PhraseSearchClick();
