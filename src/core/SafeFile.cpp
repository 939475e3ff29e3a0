#include "core/SafeFile.h"

#include "core/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Root may write anywhere, so the write bits are checked here.
bool HasWriteBit(const QFileInfo &info)
{
    constexpr auto kAnyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.permissions() & kAnyWrite;
}

} // namespace

std::optional<QByteArray> ReadWholeFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QByteArray();
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcCore) << "cannot read" << path << file.errorString();
        return std::nullopt;
    }
    return bytes;
}

QString WriteRefusal(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() && !HasWriteBit(file))
        return QStringLiteral("the file is read-only");
    const QFileInfo directory(file.absolutePath());
    if (directory.exists() && !HasWriteBit(directory))
        return QStringLiteral("its directory is read-only");
    return {};
}

bool CanWriteFilesIn(const QString &directory)
{
    const QFileInfo info(directory);
    return info.isDir() && info.isWritable() && HasWriteBit(info);
}

// QSaveFile writes a temporary file beside the target, syncs it and renames it
// over the target, keeping the target's permissions; on failure the target is
// untouched and the temporary file removed. Unbuffered, because commit() does
// not notice a failed flush of buffered data and would rename a truncated file.
bool ReplaceFile(const QString &path, const QByteArray &content)
{
    if (const QString refusal = WriteRefusal(path); !refusal.isEmpty()) {
        qCWarning(lcCore) << "not writing" << path << refusal;
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(content) == content.size()
        && file.commit())
        return true;
    qCWarning(lcCore) << "cannot write" << path << file.errorString();
    return false;
}
