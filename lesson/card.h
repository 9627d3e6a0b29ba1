// The character card: the character buttons' click builds it.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "data/dictionary.h"
#include "data/lesson_file.h"

class TImage;
class TLabel;
class TMemo;
class TPanel;

inline constexpr int kLessonCharCount = static_cast<int>(lesson_file::kStrokeOrderRecords);

// The lesson's five GB2312 characters, ten bytes and a zero (the main window's
// FormCreate fills them).
extern char LessonChars[2 * kLessonCharCount + 1];

// The main window's controls that the card and the speaker use.
struct CardView {
    std::array<TPanel*, kLessonCharCount> frames{};  // of character buttons 1-5
    TImage* Image6 = nullptr;                        // the stroke picture
    TImage* Image8 = nullptr;                        // the speaker picture
    TLabel* Label7 = nullptr;                        // pinyin
    TLabel* Label8 = nullptr;                        // number of strokes
    TMemo* Memo1 = nullptr;                          // meaning
};

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

// Image1Click ... Image5Click: builds the card of character button 1-5 of the
// shown lesson (lesson/lesson_tables.h).
void CardButtonClick(const CardView& view, int button);

// Empties the card as the window shows it at start: no pinyin, stroke count,
// meaning or strokes, every button raised, the speaker disabled, the first
// character selected. A card being built stops at its next pause and leaves
// the view as it is then.
void ClearCard(const CardView& view);
