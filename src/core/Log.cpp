#include "core/Log.h"

Q_LOGGING_CATEGORY(lcCore, "folivar.core", QtWarningMsg)

QString LoggedPath(const QString &path)
{
    constexpr qsizetype kLogged = 200;
    return path.size() <= kLogged ? path : path.first(kLogged) + QChar(0x2026); // …
}
