#include "NovelGenerator.h"
#include <QStringEncoder>
QByteArray ToGbk(const QString &text) { QStringEncoder e("GB18030"); return e.encode(text); }
