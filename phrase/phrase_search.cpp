#include "phrase/phrase_search.h"

#include <cstring>

#include "app/Main.h"
#include "app/runtime.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"
#include "lesson/card.h"
#include "phrase/Phrase.h"

char PhraseWords[kPhraseSlots][kWordBufferSize] = {};
char PhraseLines[kPhraseSlots][kLineBufferSize] = {};

bool QualifiesAsPhrase(const char* word, const char* character) {
    // Bytes after the terminator do not count: they may hold an older word.
    const std::size_t length = strnlen(word, kWordBufferSize);
    return length >= 3 && length <= 6 && word[0] == character[0] && word[1] == character[1];
}

int CollectPhrases(std::FILE* stream, const char* character) {
    for (auto& word : PhraseWords) word[0] = '\0';
    if (stream == nullptr) return 0;
    int i = 0;
    while (i < kPhraseSlots && !std::feof(stream)) {
        if (QualifiesAsPhrase(PhraseWords[i], character)) {
            ++i;
            continue;
        }
        if (ReadDictionaryRecord(stream, PhraseLines[i]) == RecordStatus::EndOfFile) {
            PhraseWords[i][0] = '\0';
            break;
        }
        RecordWord(PhraseLines[i], PhraseWords[i]);
    }
    if (i < kPhraseSlots) PhraseWords[i][0] = '\0';
    return i;
}

void PhraseSearchClick(TForm1& /*form*/) {
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
