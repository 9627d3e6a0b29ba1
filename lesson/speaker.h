// The main window's speaker picture Image8.
#pragma once

class TForm1;

// Image8Click: plays the card's pinyin field as one voice name.
void SpeakerClick(TForm1& form);
// Image8MouseMove: loads speaker1.bmp into Image8.
void SpeakerMouseMove(TForm1& form);
