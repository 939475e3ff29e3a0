#pragma once
// The chapter reader's log; silent unless enabled, e.g. with
// QT_LOGGING_RULES="folivar.reader.warning=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcReader)
