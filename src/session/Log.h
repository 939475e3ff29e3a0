#pragma once
// The reading session's log. Every folder declares its category the same way:
// warnings and worse are on by default, the rest only when a rule asks for
// them, e.g. QT_LOGGING_RULES="folivar.session.info=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSession)
