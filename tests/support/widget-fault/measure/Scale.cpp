// Logic on Qt Gui only: accepted.
#include "measure/Scale.h"
