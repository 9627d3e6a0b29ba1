// The pictures stored with the forms.
#pragma once

#include <QImage>

QImage ProgramIcon();          // 32 x 32, the window and about box icon (program_icon.cpp)
QImage SpeakerPicture();       // 22 x 22, Image8 as the form has it
QImage SpeakerHoverPicture();  // 22 x 22, the picture of speaker1.bmp
