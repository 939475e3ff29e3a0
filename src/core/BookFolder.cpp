#include "core/BookFolder.h"

#include <QDir>
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
