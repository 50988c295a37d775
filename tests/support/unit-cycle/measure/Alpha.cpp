#include "measure/Alpha.h"

#include "measure/Beta.h"
