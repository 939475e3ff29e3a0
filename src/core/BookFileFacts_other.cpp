#include "core/BookFileFacts.h"

#include "core/BookFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

// Name filters ignore letter case unless told otherwise; QDir::Files without
// QDir::System or QDir::Hidden leaves out FIFOs, sockets, devices and hidden
// files.
QStringList UnsortedBookFiles(const QString &directory)
{
    return QDir(directory).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::NoSort);
}

QStringList UnsortedSubfolders(const QString &directory)
{
    return QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
}

QString FolderIdentity(const QString &directory)
{
    const QFileInfo info(directory);
    return info.isDir() ? info.canonicalFilePath() : QString();
}

BookFileFacts FactsOf(const QString &bookPath)
{
    const QFileInfo info(bookPath);
    const QDateTime born = info.birthTime();
    return {info.exists(), info.isFile(), info.isReadable(), info.size(),
            (born.isValid() ? born : info.lastModified()).toMSecsSinceEpoch()};
}

bool OpenBookFile(QFile &file, const QString &bookPath, QString &failure)
{
    file.setFileName(bookPath);
    if (file.open(QIODevice::ReadOnly))
        return true;
    failure = file.errorString();
    return false;
}
