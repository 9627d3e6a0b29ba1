#include "phrase/phrase_search.h"

#include <cstring>

#include "app/runtime/runtime.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"
#include "lesson/card.h"
#include "phrase/Phrase.h"

char PhraseWords[kPhraseSlots][kWordBufferSize] = {};
char PhraseLines[kPhraseSlots][kLineBufferSize] = {};

int CollectPhrases(std::FILE* stream, const char* character) {
    for (auto& word : PhraseWords) word[0] = '\0';
    if (stream == nullptr) return 0;
    // Line by line from the section's first line; only a kept line is
    // descrambled whole.
    DictionaryLines lines(stream);
    std::span<const std::uint8_t> stored;
    char head[kWordHead + 1];
    int i = 0;
    while (i < kPhraseSlots && NextLineOf(lines, character, stored, head)) {
        if (!QualifiesAsPhrase(head, character)) continue;
        RecordFromStored(stored, PhraseLines[i]);
        RecordWord(PhraseLines[i], PhraseWords[i]);
        ++i;
    }
    if (i < kPhraseSlots) PhraseWords[i][0] = '\0';
    return i;
}

void PhraseSearchClick() {
    std::FILE* stream = std::fopen(lesson_file::kPath, "rb");
    if (stream == nullptr) {
        for (auto& word : PhraseWords) word[0] = '\0';
        ShowMessage(kLessonFileNotFoundMessage);
        return;
    }
    const bool positioned = std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET) == 0;
    if (positioned) {
        CollectPhrases(stream, LessonChars + SelectedOffset);
    } else {
        CollectPhrases(nullptr, LessonChars + SelectedOffset);
    }
    std::fclose(stream);
    if (PhraseWords[0][0] != '\0') {
        FrmPhrase->exec();
    } else {
        ShowMessage(kNoPhrasesMessage);
    }
}
