#include "reader/ChapterIndex.h"

#include "ui/NotifyLabel.h"

void OnLoadProgress(NotifyLabel &statusLabel, int percentage, int)
{
    statusLabel.SetCaption(percentage == 100 ? QStringLiteral("载入完成")
                                             : QStringLiteral("已载入%1%").arg(percentage));
}
