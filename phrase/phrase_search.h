// The phrase search behind "click here to Get Phrases".
#pragma once

class TForm1;

// Label10Click: fills the phrase table and shows the phrase window modally.
void PhraseSearchClick(TForm1& form);
