#include "measure/Beta.h"

// The way back that closes the circle.
#include "measure/Alpha.h"
