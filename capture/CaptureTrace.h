#pragma once

#include <QLoggingCategory>

// The library links no part of the program, so it declares its own handle on the program's
// trace category ("kalvex.trace"); one logging rule switches both on.
Q_DECLARE_LOGGING_CATEGORY(lcCaptureTrace)
