#pragma once
// The logging category of the platform services behind the reader's tools
// (script conversion, hot key, program launch). Failures are logged at info
// level, which is off unless enabled, e.g. QT_LOGGING_RULES="folivar.tools=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPlatformTools)
