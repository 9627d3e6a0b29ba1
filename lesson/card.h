// The character card: the character buttons' click builds it.
#pragma once

class TForm1;

// Image1Click ... Image5Click: builds the card of character button 1-5.
void CardButtonClick(TForm1& form, int button);
