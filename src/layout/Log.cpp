#include "layout/Log.h"

Q_LOGGING_CATEGORY(lcLayout, "folivar.layout", QtWarningMsg)
