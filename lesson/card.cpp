#include "lesson/card.h"

void CardButtonClick(TForm1& /*form*/, int /*button*/) {}
