#include "core/EditedBookFile.h"

#include "core/BookFileName.h"
#include "core/BookFolder.h"
#include "core/Log.h"
#include "core/SafeFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The path Qt writes the file at; nullopt for a name Qt cannot write back
// (its bytes are no UTF-8).
std::optional<QString> QtPathOf(const QString &bookPath)
{
    const QByteArray native = NativePathOf(bookPath);
    QString path = QFile::decodeName(native);
    if (QFile::encodeName(path) != native)
        return std::nullopt;
    return path;
}

// Replaces or creates the file; `reason` says why not. Unbuffered, so that a
// failed write is noticed before the rename (see ReplaceFile).
bool WriteWhole(const QString &path, const QByteArray &bytes, QString &reason)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    reason = file.errorString();
    qCWarning(lcCore) << "cannot write" << LoggedPath(path) << reason;
    return false;
}

// Why the file and its backup may not be written in their folder; empty text
// when they may.
QString WriteRefusalOf(const QString &path)
{
    if (!CanWriteFilesIn(QFileInfo(path).absolutePath()))
        return QStringLiteral("文件夹是只读的");
    return WriteRefusal(path).isEmpty() ? QString() : QStringLiteral("文件是只读的");
}

BookSaveResult Write(const QString &path, const QByteArray &old, const QByteArray &rewritten)
{
    if (const QString refusal = WriteRefusalOf(path); !refusal.isEmpty())
        return {BookSaveResult::Failed, refusal};
    QString reason;
    const QString backup = BackupPathOf(path);
    if (!QFileInfo::exists(backup) && !WriteWhole(backup, old, reason))
        return {BookSaveResult::Failed, QStringLiteral("无法写入备份：%1").arg(reason)};
    if (!WriteWhole(path, rewritten, reason))
        return {BookSaveResult::Failed, reason};
    return {BookSaveResult::Saved, {}};
}

} // namespace

QString BackupPathOf(const QString &bookPath)
{
    return bookPath + QStringLiteral(".bak");
}

BookSaveResult SaveBookEdit(const BookEdit &edit)
{
    const std::optional<QString> path = QtPathOf(edit.bookPath);
    if (!path)
        return {BookSaveResult::Failed, QStringLiteral("文件名无法写回")};
    QFile file;
    QString failure;
    if (!OpenBookFile(file, edit.bookPath, failure))
        return {BookSaveResult::Failed, failure};
    if (file.size() != edit.fileSize
        || file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch() != edit.fileModified)
        return {BookSaveResult::ChangedOnDisk, {}};
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError || old.size() != edit.fileSize)
        return {BookSaveResult::Failed, file.errorString()};
    file.close();
    const RewrittenBook rewritten = RewriteBookBytes(old, edit.encoding, edit.bookText, edit.change);
    if (rewritten.failure != RewrittenBook::None)
        return {rewritten.failure == RewrittenBook::Unencodable ? BookSaveResult::Unencodable
                                                                : BookSaveResult::TextMismatch,
                {}};
    return Write(*path, old, rewritten.bytes);
}
