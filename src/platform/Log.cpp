#include "platform/Log.h"

Q_LOGGING_CATEGORY(lcPlatform, "folivar.platform", QtWarningMsg)
