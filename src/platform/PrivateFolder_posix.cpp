#include "platform/PrivateFolder.h"

#include "platform/Log.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

QString FolderRefusal(const QString &path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("it cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("it is a symbolic link");
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("it is not a folder");
    if (info.st_uid != ::geteuid())
        return QStringLiteral("it belongs to user %1").arg(info.st_uid);
    if (info.st_mode & (S_IRWXG | S_IRWXO))
        return QStringLiteral("others may enter it (mode %1)").arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return {};
}

QString PrivateFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QString refusal = FolderRefusal(runtime);
        if (refusal.isEmpty())
            return runtime;
        qCWarning(lcPlatform) << "not using XDG_RUNTIME_DIR" << runtime << "-" << refusal;
    }
    QString own = QDir::temp().filePath(QStringLiteral("folivar-%1").arg(::geteuid()));
    // The mode is set at creation: a folder made otherwise is refused below.
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (const QString refusal = FolderRefusal(own); !refusal.isEmpty()) {
        qCWarning(lcPlatform) << "no private folder for the reader's socket:" << own << "-" << refusal;
        return {};
    }
    return own;
}
