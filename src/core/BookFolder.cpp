#include "core/BookFolder.h"

#include "core/BookFileFacts.h"

#include <algorithm>

QStringList ListBookFiles(const QString &directory)
{
    QStringList names = UnsortedBookFiles(directory);
    std::sort(names.begin(), names.end(), NameBefore);
    return names;
}

bool NameBefore(const QString &a, const QString &b)
{
    const int byLetters = QString::compare(a, b, Qt::CaseInsensitive);
    return byLetters != 0 ? byLetters < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

BookFileProblem CheckBookFile(const QString &bookPath)
{
    constexpr qint64 kLargestBook = 0x7FFFFFFF;
    const BookFileFacts facts = FactsOf(bookPath);
    if (!facts.exists)
        return BookFileProblem::Missing;
    // Only ordinary files qualify: a FIFO would block its reader forever.
    if (!facts.regular)
        return BookFileProblem::NotAFile;
    if (!bookPath.endsWith(QLatin1StringView(".txt"), Qt::CaseInsensitive))
        return BookFileProblem::NotText;
    if (!facts.readable)
        return BookFileProblem::Unreadable;
    return facts.size > kLargestBook ? BookFileProblem::TooLarge : BookFileProblem::None;
}
