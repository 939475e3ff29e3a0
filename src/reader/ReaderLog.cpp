#include "ReaderLog.h"

// Warnings and below stay off until a logging rule turns them on.
Q_LOGGING_CATEGORY(lcReader, "folivar.reader", QtCriticalMsg)
