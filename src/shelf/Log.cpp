#include "shelf/Log.h"

Q_LOGGING_CATEGORY(lcShelf, "folivar.shelf", QtWarningMsg)
