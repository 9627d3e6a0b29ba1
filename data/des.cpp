#include "data/des.h"
