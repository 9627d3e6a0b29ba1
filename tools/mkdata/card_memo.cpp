#include "tools/mkdata/card_memo.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/runtime/controls.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"

CardMemo::CardMemo() : memo_(NewCardMemo(nullptr, Colour{})) {
    memo_->show();
    memo_->ShowVerticalScrollBar();
    QApplication::processEvents();
}

CardMemo::~CardMemo() = default;

int CardMemo::Lines(const std::string& meaning) {
    char display[kDisplayBufferSize];
    MeaningForDisplay(meaning.c_str(), display);
    memo_->Clear();
    memo_->AddLine(QString());
    memo_->AddLine(QString::fromLatin1(display));
    return memo_->LineCount();
}

int CardMemo::LinesShown() const {
    return memo_->LinesShown();
}

std::vector<CardMeaning> ReadCardMeanings(const std::string& datPath,
                                          std::span<const std::uint16_t> codes) {
    std::vector<CardMeaning> cards(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) cards[i].code = codes[i];
    std::FILE* in = std::fopen(datPath.c_str(), "rb");
    if (in == nullptr) return cards;
    if (std::fseek(in, static_cast<long>(lesson_file::kDictionaryOffset), SEEK_SET) == 0) {
        char line[kLineBufferSize];
        while (ReadDictionaryRecord(in, line) == RecordStatus::Record) {
            char word[kWordBufferSize];
            RecordWord(line, word);
            if (std::strlen(word) != 2) continue;
            const auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(word[0]) * 256 +
                                                         static_cast<unsigned char>(word[1]));
            for (CardMeaning& card : cards) {
                if (card.code != code || card.found) continue;
                char meaning[kMeaningBufferSize];
                char display[kDisplayBufferSize];
                RecordMeaning(line, meaning);
                MeaningForDisplay(meaning, display);
                card = {code, true, meaning, display};
            }
        }
    }
    std::fclose(in);
    return cards;
}
