#include "app/canvas.h"
