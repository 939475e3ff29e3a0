#include "core/Log.h"

Q_LOGGING_CATEGORY(lcCore, "folivar.core", QtWarningMsg)
