#include "core/BookKey.h"

#include <QDir>

QString BookKey(const QString &folder, const QString &fileName)
{
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + fileName;
}

QString BookNameInKey(const QString &key)
{
    return key.mid(key.lastIndexOf(u'/') + 1);
}
