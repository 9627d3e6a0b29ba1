#include "app/pictures.h"

#include "app/resources/speaker_form.xpm"
#include "app/resources/speaker_hover.xpm"

QImage SpeakerPicture() {
    return QImage(speaker_form_xpm);
}
QImage SpeakerHoverPicture() {
    return QImage(speaker_hover_xpm);
}
