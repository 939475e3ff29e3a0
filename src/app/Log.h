#pragma once
// The reader window's log. Every folder declares its category the same way:
// warnings and worse are on by default, the rest only when a rule asks for
// them, e.g. QT_LOGGING_RULES="folivar.app.info=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
