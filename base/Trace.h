#pragma once

#include <QLoggingCategory>

// Developer trace lines ("kalvex.trace"), off unless enabled with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcTrace)
