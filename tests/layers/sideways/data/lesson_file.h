#pragma once

#include "app/runtime/runtime.h"
