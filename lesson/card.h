// The character card: the character buttons' click builds it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "data/dictionary.h"

class TForm1;

// The card's dictionary record, split by the column rules.
struct CardRecordFields {
    char Word[kWordBufferSize];
    char Pinyin[kPinyinBufferSize];
    char Meaning[kMeaningBufferSize];
};

extern std::int32_t SelectedOffset;  // of the selected character in LessonChars
extern std::int32_t SelectedCode;    // its GB code, high byte * 256 + low byte
extern char CardLine[kLineBufferSize];
extern CardRecordFields CardRecord;
extern std::uint8_t CardReady;  // 1 while no card is being built

// The scan of the dictionary section from stream's position for the first
// record whose word is character's two bytes alone: fills CardLine and
// CardRecord.Word and returns true, or returns false at the end of the file.
bool FindCardRecord(std::FILE* stream, const char* character);

// Image1Click ... Image5Click: builds the card of character button 1-5.
void CardButtonClick(TForm1& form, int button);
