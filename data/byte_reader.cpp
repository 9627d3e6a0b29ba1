#include "data/byte_reader.h"
