// The main window's speaker picture Image8.
#pragma once

#include "lesson/card.h"

// Image8Click: plays the card's pinyin field as one voice name.
void SpeakerClick();
// Image8MouseMove: loads speaker1.bmp into Image8.
void SpeakerMouseMove(const CardView& view);
