#include "capture/CaptureTrace.h"

Q_LOGGING_CATEGORY(lcCaptureTrace, "kalvex.trace", QtWarningMsg)
