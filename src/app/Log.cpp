#include "app/Log.h"

Q_LOGGING_CATEGORY(lcApp, "folivar.app", QtWarningMsg)
