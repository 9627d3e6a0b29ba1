#include "lesson/speaker.h"

#include "app/runtime/controls.h"
#include "lesson/card.h"
#include "lesson/voice.h"

void SpeakerClick() {
    PlayVoice(CardRecord.Pinyin);
}

void SpeakerMouseMove(const CardView& view) {
    view.Image8->LoadFromFile("speaker1.bmp");
}
