#pragma once
// The engine's log. Every folder declares its category the same way: warnings and
// worse are on by default, the rest only when a rule asks for them, e.g.
// QT_LOGGING_RULES="folivar.core.info=true".
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcCore)

// A user's path as the log takes it: its first 200 characters, "…" after
// them when there are more (a path can be as long as a message allows).
QString LoggedPath(const QString &path);
