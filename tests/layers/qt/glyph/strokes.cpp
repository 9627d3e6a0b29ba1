#include "glyph/strokes.h"

#include <QWidget>
