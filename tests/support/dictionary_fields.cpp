#include "tests/support/dictionary_fields.h"

#include "data/dictionary.h"

Fields FieldsOf(const char* line) {
    char word[kWordBufferSize];
    char pinyin[kPinyinBufferSize];
    char meaning[kMeaningBufferSize];
    char display[kDisplayBufferSize];
    RecordWord(line, word);
    RecordPinyin(line, pinyin);
    RecordMeaning(line, meaning);
    MeaningForDisplay(meaning, display);
    return {word, pinyin, meaning, display};
}
