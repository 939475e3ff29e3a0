#include "ToolsLog.h"

Q_LOGGING_CATEGORY(lcPlatformTools, "folivar.tools", QtWarningMsg)
