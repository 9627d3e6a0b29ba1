#include "data/lesson_file.h"
