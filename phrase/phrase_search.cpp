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
    // Line by line from the section's first line. A line's word columns decide
    // whether it is kept; only a kept line is descrambled whole.
    constexpr std::size_t kHead = 7;  // enough to tell a word of 3 to 6 bytes
    std::uint8_t first[2];            // the character as a line that begins with it stores it
    StoredHead(character, first, 2);
    DictionaryLines lines(stream);
    std::span<const std::uint8_t> stored;
    int i = 0;
    while (i < kPhraseSlots && lines.Next(stored)) {
        if (stored.size() < 3 || stored[0] != first[0] || stored[1] != first[1]) continue;
        char head[kHead + 1];
        RecordHead(stored, head, kHead);
        head[kHead] = '\0';
        // The word as RecordWord copies it, cut after kHead bytes.
        const std::size_t length = std::strcspn(head, " ");
        head[length] = '\0';
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
