#pragma once
// The sync's log: warnings and worse are on by default, the rest only when a
// rule asks for them, e.g. QT_LOGGING_RULES="folivar.sync.info=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSync)
