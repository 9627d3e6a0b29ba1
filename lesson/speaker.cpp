#include "lesson/speaker.h"

void SpeakerClick(TForm1& /*form*/) {}
void SpeakerMouseMove(TForm1& /*form*/) {}
