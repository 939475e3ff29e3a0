#include "core/BookProgress.h"

#include <algorithm>

int ProgressAt(qsizetype position, qsizetype length)
{
    if (length <= 0)
        return 0;
    const qsizetype within = std::clamp<qsizetype>(position, 0, length);
    return int(within * kProgressWhole / length);
}

bool IsProgress(qint64 progress)
{
    return progress >= 0 && progress <= kProgressWhole;
}

QString PercentText(int progress)
{
    const int tenths = (progress + 5) / 10;
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

QString ProgressLabel(int progress)
{
    if (!IsProgress(progress))
        return QStringLiteral("—");
    if (progress > kProgressReadThrough)
        return QStringLiteral("读完");
    return PercentText(progress) + QStringLiteral(" %");
}
