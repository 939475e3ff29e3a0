#include "core/BookFileFacts.h"

#include "core/BookFileName.h"
#include "core/BookFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>

namespace {

bool IsBookFileName(const QByteArray &name)
{
    return !name.startsWith('.') && name.right(4).toLower() == ".txt";
}

// When the file was made, where the system and the file system tell it.
std::optional<qint64> BirthTime(const QByteArray &path)
{
#ifdef STATX_BTIME
    struct statx status {};
    if (statx(AT_FDCWD, path.constData(), 0, STATX_BTIME, &status) == 0 && (status.stx_mask & STATX_BTIME) != 0)
        return qint64(status.stx_btime.tv_sec) * 1000 + status.stx_btime.tv_nsec / 1000000;
#else
    Q_UNUSED(path);
#endif
    return std::nullopt;
}

// The names `keep` gives the directory's entries, each entry's own name
// handed to it as bytes; an entry it gives none is left out.
QStringList ListedNames(
    const QString &directory,
    const std::function<std::optional<QString>(const QByteArray &name, const std::filesystem::directory_entry &entry)>
        &keep)
{
    namespace fs = std::filesystem;
    QStringList names;
    std::error_code error;
    for (fs::directory_iterator entry(QFile::encodeName(directory).toStdString(), error);
         !error && entry != fs::directory_iterator(); entry.increment(error)) {
        if (const std::optional<QString> kept =
                keep(QByteArray::fromStdString(entry->path().filename().native()), *entry))
            names << *kept;
    }
    return names;
}

} // namespace

// Qt leaves out every name that is not UTF-8: the directory is read here.
QStringList UnsortedBookFiles(const QString &directory)
{
    return ListedNames(directory, [](const QByteArray &name, const auto &entry) -> std::optional<QString> {
        std::error_code unknown;
        if (IsBookFileName(name) && entry.is_regular_file(unknown))
            return BookNameOf(name);
        return std::nullopt;
    });
}

QStringList UnsortedSubfolders(const QString &directory)
{
    return ListedNames(directory, [](const QByteArray &name, const auto &entry) -> std::optional<QString> {
        std::error_code unknown;
        const QString decoded = QFile::decodeName(name);
        if (!name.startsWith('.') && BookNameOf(name) == decoded && entry.is_directory(unknown))
            return decoded;
        return std::nullopt;
    });
}

QString FolderIdentity(const QString &directory)
{
    struct stat status {};
    if (stat(QFile::encodeName(directory).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return {};
    return QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino);
}

BookFileFacts FactsOf(const QString &bookPath)
{
    const QByteArray path = NativePathOf(bookPath);
    struct stat status {};
    if (stat(path.constData(), &status) != 0)
        return {};
    const qint64 modified = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    return {true, S_ISREG(status.st_mode), access(path.constData(), R_OK) == 0, qint64(status.st_size),
            BirthTime(path).value_or(modified)};
}

// Without waiting: a FIFO put where the book was must not block the reader,
// and a regular file's reads never wait for writers anyway.
bool OpenBookFile(QFile &file, const QString &bookPath, QString &failure)
{
    const int descriptor = open(NativePathOf(bookPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        failure = qt_error_string(errno);
        return false;
    }
    struct stat status {};
    const bool regular = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (!regular || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        failure = regular ? file.errorString() : QStringLiteral("not a regular file");
        close(descriptor);
        return false;
    }
    return true;
}
