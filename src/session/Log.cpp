#include "session/Log.h"

Q_LOGGING_CATEGORY(lcSession, "folivar.session", QtWarningMsg)
