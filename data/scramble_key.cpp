#include "data/scramble_key.h"
