#include "data/descramble.h"
