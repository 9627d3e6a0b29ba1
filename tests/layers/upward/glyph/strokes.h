#pragma once

#include "app/runtime/canvas.h"
#include "data/byte_reader.h"
#include "lesson/card.h"
