#include "lesson/card.h"

#include <QPointer>
#include <cstdio>
#include <cstring>

#include "app/Main.h"
#include "app/controls.h"
#include "app/runtime.h"
#include "data/lesson_file.h"
#include "glyph/stroke_wait.h"
#include "glyph/strokes.h"

std::int32_t SelectedOffset = 0;
std::int32_t SelectedCode = 0;
char CardLine[kLineBufferSize] = {};
CardRecordFields CardRecord = {};
std::uint8_t CardReady = 1;

bool FindCardRecord(std::FILE* stream, const char* character) {
    CardRecord.Word[0] = '\0';
    // Only a line's word columns are descrambled until the record is found.
    constexpr std::size_t kHead = 3;
    std::uint8_t first[2];  // the character as a line that begins with it stores it
    StoredHead(character, first, 2);
    DictionaryLines lines(stream);
    std::span<const std::uint8_t> stored;
    while (lines.Next(stored)) {
        if (stored.size() < 3 || stored[0] != first[0] || stored[1] != first[1]) continue;
        char head[kHead + 1];
        RecordHead(stored, head, kHead);
        head[kHead] = '\0';
        head[std::strcspn(head, " ")] = '\0';  // the word as RecordWord copies it
        if (head[0] == character[0] && head[1] == character[1] && head[2] == '\0') {
            RecordFromStored(stored, CardLine);
            RecordWord(CardLine, CardRecord.Word);
            return true;
        }
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

void CardButtonClick(TForm1& form, int button) {
    if (CardReady == 0) return;
    const int offset = 2 * (button - 1);
    form.Image8->setEnabled(true);
    form.CharacterFrame(button)->SetBevelOuter(Bevel::Lowered);
    form.Label8->SetCaption(QString());
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
    form.Label7->SetCaption(QString::fromLatin1(CardRecord.Pinyin));
    char display[kDisplayBufferSize];
    MeaningForDisplay(CardRecord.Meaning, display);
    form.Memo1->Clear();
    form.Memo1->AddLine(QString());
    form.Memo1->AddLine(QString::fromLatin1(display));
    form.Memo1->SetSelection(0, 0);
    form.Memo1->HideCaret();

    form.Image6->ClearPicture();
    QPointer<TForm1> alive(&form);
    const int strokes = AnimateStrokes(form.Image6->GetCanvas(),
                                       static_cast<std::uint16_t>(SelectedCode), form.Image6)
                            .strokes;
    // The window may have been closed during the animation.
    if (alive.isNull() || ApplicationQuitting()) {
        CardReady = 1;
        return;
    }
    form.Label8->SetCaption(IntToStr(strokes));
    CardReady = 1;
}
