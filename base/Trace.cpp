#include "base/Trace.h"

Q_LOGGING_CATEGORY(lcTrace, "kalvex.trace", QtWarningMsg)
