#include "phrase/phrase_search.h"

void PhraseSearchClick(TForm1& /*form*/) {}
