#include "core/BookFolder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QStringList ListBookFiles(const QString &directory)
{
    // Name filters ignore letter case unless told otherwise; QDir::Files
    // without QDir::System leaves out FIFOs, sockets and devices.
    QStringList names = QDir(directory).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int byLetters = QString::compare(a, b, Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return names;
}

BookFileProblem CheckBookFile(const QString &path)
{
    constexpr qint64 kLargestBook = 0x7FFFFFFF;
    const QFileInfo info(path);
    if (!info.exists())
        return BookFileProblem::Missing;
    // Only ordinary files qualify: a FIFO would block its reader forever.
    if (!info.isFile())
        return BookFileProblem::NotAFile;
    if (!path.endsWith(QLatin1StringView(".txt"), Qt::CaseInsensitive))
        return BookFileProblem::NotText;
    if (!info.isReadable())
        return BookFileProblem::Unreadable;
    return info.size() > kLargestBook ? BookFileProblem::TooLarge : BookFileProblem::None;
}
