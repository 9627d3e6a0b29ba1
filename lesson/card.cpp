#include "lesson/card.h"

std::int32_t SelectedOffset = 0;
std::int32_t SelectedCode = 0;
char CardLine[kLineBufferSize] = {};
CardRecordFields CardRecord = {};
std::uint8_t CardReady = 1;

void CardButtonClick(TForm1& /*form*/, int /*button*/) {}
