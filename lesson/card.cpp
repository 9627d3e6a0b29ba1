#include "lesson/card.h"

#include <QPointer>
#include <cstdio>
#include <cstring>

#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"
#include "lesson/lesson_tables.h"

char LessonChars[2 * kLessonCharCount + 1] = {};
std::int32_t SelectedOffset = 0;
std::int32_t SelectedCode = 0;
char CardLine[kLineBufferSize] = {};
CardRecordFields CardRecord = {};
std::uint8_t CardReady = 1;

namespace {

// Counts the cleared cards: a card being built when it changes is given up.
std::uint32_t CardsCleared = 0;

}  // namespace

bool FindCardRecord(std::FILE* stream, const char* character) {
    CardRecord.Word[0] = '\0';
    DictionaryLines lines(stream);
    std::span<const std::uint8_t> stored;
    char head[kWordHead + 1];
    while (NextLineOf(lines, character, stored, head)) {
        if (head[2] != '\0') continue;  // a longer word
        RecordFromStored(stored, CardLine);
        RecordWord(CardLine, CardRecord.Word);
        return true;
    }
    return false;
}

namespace {

// The card's record from dat/zw.dat; false when the section has none (or the
// file cannot be read).
bool ReadCardRecord(const char* character) {
    CardRecord.Word[0] = '\0';
    std::FILE* stream = std::fopen(lesson_file::kPath, "rb");
    if (stream == nullptr) return false;
    const bool found = std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET) == 0 &&
                       FindCardRecord(stream, character);
    std::fclose(stream);
    return found;
}

}  // namespace

void CardButtonClick(const CardView& view, int button) {
    if (CardReady == 0) return;
    const int offset = 2 * (button - 1);
    view.Image8->setEnabled(true);
    view.frames.at(static_cast<std::size_t>(button - 1))->SetBevelOuter(Bevel::Lowered);
    view.Label8->SetCaption(QString());
    CardReady = 0;
    const char* character = LessonChars + offset;
    SelectedCode =
        static_cast<unsigned char>(character[0]) * 256 + static_cast<unsigned char>(character[1]);
    SelectedOffset = offset;

    if (ReadCardRecord(character)) {
        RecordPinyin(CardLine, CardRecord.Pinyin);
        RecordMeaning(CardLine, CardRecord.Meaning);
    } else {
        // No record of the character: empty fields, not an older line.
        CardRecord.Pinyin[0] = '\0';
        CardRecord.Meaning[0] = '\0';
    }
    view.Label7->SetCaption(QString::fromLatin1(CardRecord.Pinyin));
    char display[kDisplayBufferSize];
    MeaningForDisplay(CardRecord.Meaning, display);
    view.Memo1->Clear();
    view.Memo1->AddLine(QString());
    view.Memo1->AddLine(QString::fromLatin1(display));
    view.Memo1->SetSelection(0, 0);
    view.Memo1->HideCaret();

    view.Image6->ClearPicture();
    // The picture goes with its window, which may be closed during the
    // animation; the card may be cleared during it for another lesson.
    QPointer<TImage> alive(view.Image6);
    const std::uint32_t cleared = CardsCleared;
    const LessonTables lesson = ShownLesson();
    const int strokes =
        AnimateStrokes(view.Image6->GetCanvas(), static_cast<std::uint16_t>(SelectedCode),
                       *lesson.codes, *lesson.charIndex, lesson.path,
                       [picture = view.Image6, cleared] {
                           return CardPicturePause(picture) && CardsCleared == cleared;
                       })
            .strokes;
    if (CardsCleared != cleared) return;
    if (alive.isNull() || ApplicationQuitting()) {
        CardReady = 1;
        return;
    }
    view.Label8->SetCaption(IntToStr(strokes));
    CardReady = 1;
}

void ClearCard(const CardView& view) {
    ++CardsCleared;
    CardReady = 1;
    SelectedOffset = 0;
    SelectedCode = 0;
    CardLine[0] = '\0';
    CardRecord = {};
    for (TPanel* frame : view.frames) frame->SetBevelOuter(Bevel::Raised);
    view.Image6->ClearPicture();
    view.Image8->setEnabled(false);
    view.Label7->SetCaption(QString());
    view.Label8->SetCaption(QString());
    view.Memo1->Clear();
}
