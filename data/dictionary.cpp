#include "data/dictionary.h"
