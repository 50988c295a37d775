#pragma once

// Uses Alpha, which is on the cycle, without being on it.
#include "measure/Alpha.h"
