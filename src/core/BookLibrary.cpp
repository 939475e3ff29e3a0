#include "core/BookLibrary.h"

#include "core/BookFileFacts.h"
#include "core/BookFolder.h"
#include "core/Log.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

struct Listing {
    QString root;
    QSet<QString> seen;
    BookLibrary library;
};

bool IsOpenable(const QString &directory)
{
    const QFileInfo info(directory);
    return info.isReadable() && info.isExecutable();
}

void ListFolder(Listing &listing, const QString &relative, int depth)
{
    const QString path = listing.root + relative;
    const QString identity = FolderIdentity(path);
    if (identity.isEmpty() || listing.seen.contains(identity)) {
        qCInfo(lcCore) << "book folder: not listing" << LoggedPath(path) << "again";
        return;
    }
    listing.seen.insert(identity);
    if (!IsOpenable(path)) {
        qCInfo(lcCore) << "book folder: cannot read" << LoggedPath(path);
        return;
    }
    listing.library.folders << relative;
    const QStringList books = ListBookFiles(path);
    if (!books.isEmpty() && !relative.isEmpty())
        listing.library.entries << relative;
    for (const QString &book : books)
        listing.library.entries << relative + book;
    if (depth == kSubfolderDepth)
        return;
    QStringList subfolders = UnsortedSubfolders(path);
    std::sort(subfolders.begin(), subfolders.end(), NameBefore);
    for (const QString &subfolder : subfolders)
        ListFolder(listing, relative + subfolder + u'/', depth + 1);
}

} // namespace

BookLibrary ListLibrary(const QString &directory)
{
    Listing listing{directory, {}, {}};
    ListFolder(listing, QString(), 0);
    return listing.library;
}

bool IsFolderEntry(const QString &entry)
{
    return entry.endsWith(u'/');
}

QString FolderOfEntry(const QString &entry)
{
    const qsizetype end = IsFolderEntry(entry) ? entry.size() : entry.lastIndexOf(u'/') + 1;
    return entry.first(end);
}

QString NameOfEntry(const QString &entry)
{
    const QString folder = FolderOfEntry(entry);
    if (folder.size() < entry.size())
        return entry.sliced(folder.size());
    return entry.first(qMax<qsizetype>(0, entry.size() - 1)).section(u'/', -1);
}

bool ListedBefore(const QString &a, const QString &b)
{
    const QString folderA = FolderOfEntry(a);
    const QString folderB = FolderOfEntry(b);
    if (folderA != folderB) {
        const QStringList partsA = folderA.split(u'/', Qt::SkipEmptyParts);
        const QStringList partsB = folderB.split(u'/', Qt::SkipEmptyParts);
        const auto [endA, endB] = std::mismatch(partsA.begin(), partsA.end(), partsB.begin(), partsB.end());
        if (endA == partsA.end() || endB == partsB.end())
            return partsA.size() < partsB.size();
        return NameBefore(*endA, *endB);
    }
    if (IsFolderEntry(a) != IsFolderEntry(b))
        return IsFolderEntry(a);
    return NameBefore(NameOfEntry(a), NameOfEntry(b));
}
