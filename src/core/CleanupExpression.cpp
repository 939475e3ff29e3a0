#include "core/CleanupExpression.h"

QRegularExpression CleanupExpression(const QString &pattern)
{
    return QRegularExpression(QLatin1StringView(kCleanupMatchLimit) + pattern,
                              QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption);
}
