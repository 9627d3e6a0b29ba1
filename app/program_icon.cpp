// The program icon, in a file of its own: a lesson of one's own links its own
// in its place (cmake/lesson/, its first character).
#include "app/pictures.h"
#include "app/resources/tallowfern_icon.xpm"

QImage ProgramIcon() {
    return QImage(tallowfern_icon_xpm);
}
