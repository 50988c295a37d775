// Logic that reaches a widget through a header of its own folder: refused.
#include "measure/Gauge.h"
