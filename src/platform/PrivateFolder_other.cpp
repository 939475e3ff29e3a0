#include "platform/PrivateFolder.h"

#include <QDir>

// A named pipe lives in no folder; the pipe itself is kept to this user
// (InstanceListener_other.cpp).
QString FolderRefusal(const QString &)
{
    return {};
}

QString PrivateFolder()
{
    return QDir::tempPath();
}
