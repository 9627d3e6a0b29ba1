#include "lesson/speaker.h"

#include "app/Main.h"
#include "app/controls.h"
#include "lesson/card.h"
#include "lesson/voice.h"

void SpeakerClick(TForm1& /*form*/) {
    PlayVoice(CardRecord.Pinyin);
}

void SpeakerMouseMove(TForm1& form) {
    form.Image8->LoadFromFile("speaker1.bmp");
}
