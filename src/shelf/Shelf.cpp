#include "shelf/Shelf.h"

#include "core/BookFolder.h"
#include "core/BookKey.h"
#include "core/BookLibrary.h"
#include "core/Log.h"
#include "shelf/Log.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

bool EndsWithSeparator(const QString &directory)
{
    return directory.endsWith(QDir::separator()) || directory.endsWith(QLatin1Char('/'));
}

// The entry of the book `name` of `folder` in the library of `directory`;
// empty when the folder is not the directory or one below it.
QString EntryIn(const QString &directory, const QString &folder, const QString &name)
{
    const QString relative = QDir(directory).relativeFilePath(folder);
    if (relative == u'.')
        return name;
    if (relative == u".." || relative.startsWith(u"../") || QDir::isAbsolutePath(relative))
        return {};
    return relative + u'/' + name;
}

// Adds the entry (and its folder's row, where that is missing) where the
// listed order puts it.
void KeepEntry(QStringList &entries, const QString &entry)
{
    const QString folder = FolderOfEntry(entry);
    for (const QString &kept : {folder, entry}) {
        if (kept.isEmpty() || entries.contains(kept))
            continue;
        entries.insert(std::lower_bound(entries.begin(), entries.end(), kept, ListedBefore), kept);
    }
}

} // namespace

Shelf::Shelf(QObject *parent) : QObject(parent)
{
    shown_.SetBooks(&books_);
    connect(&watch_, &LibraryWatch::listed, this, &Shelf::ShowListing);
    connect(&loader_, &BookLoader::progress, this, &Shelf::loadProgress);
    connect(&loader_, &BookLoader::previewLoaded, this, &Shelf::bookPreviewed);
    connect(&loader_, &BookLoader::bookLoaded, this, &Shelf::OnBookLoaded);
    connect(&loader_, &BookLoader::loadFailed, this, [this](const QString &path) {
        qCInfo(lcShelf) << "could not open" << LoggedPath(path);
        OnLoadEnded();
        Q_EMIT openFailed();
    });
}

void Shelf::FillBookList(QString directory)
{
    if (directory.isEmpty())
        return;
    if (!EndsWithSeparator(directory))
        directory += QDir::separator();
    listing_ = ListLibrary(directory);
    books_.SetFolder(directory);
    books_.AddBooks(listing_.entries);
    qCInfo(lcShelf) << "listed" << listing_.entries.size() << "books and folders in" << LoggedPath(directory);
    directory_ = directory;
    watch_.Watch(directory_, listing_.folders);
    Q_EMIT directoryChanged(directory_);
}

void Shelf::ListFolder(const QString &folder)
{
    ClearBookList();
    FillBookList(folder);
    Q_EMIT folderListed();
}

void Shelf::ClearBookList()
{
    watch_.Stop();
    listing_ = {};
    books_.SetBooks({});
    openRow_ = -1;
    Highlight(-1);
}

bool Shelf::OpenBookFile(const QString &path)
{
    const QFileInfo file(path);
    const QString entry = directory_.isEmpty() ? QString() : EntryIn(directory_, file.absolutePath(), file.fileName());
    int row = entry.isEmpty() ? -1 : books_.RowOf(entry);
    if (row < 0) {
        ListFolder(file.absolutePath());
        row = books_.RowOf(file.fileName());
    }
    return OpenBookAt(row);
}

void Shelf::SetRequestMaker(std::function<BookRequest(const QString &, const QString &)> maker)
{
    requestFor_ = std::move(maker);
}

bool Shelf::OpenBookAt(int row)
{
    const QString entry = books_.Entry(row);
    if (row < 0 || row >= books_.Count() || IsFolderEntry(entry)
        || CheckBookFile(directory_ + entry) != BookFileProblem::None) {
        qCInfo(lcShelf) << "not opening" << LoggedPath(directory_ + entry);
        loader_.Cancel();
        OnLoadEnded();
        Q_EMIT openFailed();
        return false;
    }
    const QString folder = directory_ + FolderOfEntry(entry);
    const QString name = NameOfEntry(entry);
    Reload(requestFor_ ? requestFor_(folder, name) : BookRequest{folder, name, {}, {}, {}, {}, false});
    Highlight(row);
    return true;
}

QString Shelf::RecordKeyAt(int row) const
{
    const QString entry = books_.Entry(row);
    if (entry.isEmpty() || IsFolderEntry(entry))
        return {};
    return BookKey(directory_ + FolderOfEntry(entry), NameOfEntry(entry));
}

void Shelf::Reload(BookRequest request)
{
    const bool wasLoading = loader_.IsLoading();
    loader_.Load(std::move(request));
    if (!wasLoading)
        Q_EMIT loadingChanged(true);
}

void Shelf::StopLoading()
{
    const bool stopped = loader_.IsLoading();
    loader_.Stop();
    if (!stopped)
        return;
    Q_EMIT loadingChanged(false);
    Q_EMIT openFailed();
}

void Shelf::OnBookLoaded(const OpenBook &book)
{
    const QString previous = books_.Entry(openRow_);
    const QString entry = directory_.isEmpty() ? QString() : EntryIn(directory_, book.folder, book.fileName);
    openRow_ = entry.isEmpty() ? -1 : books_.RowOf(entry);
    OnLoadEnded();
    // The book read before may be one whose file has gone: its row goes now.
    if (!previous.isEmpty() && previous != entry && !listing_.entries.contains(previous))
        ShowListing(listing_);
    Q_EMIT bookOpened(book);
}

void Shelf::ShowListing(const BookLibrary &library)
{
    listing_ = library;
    const QString open = books_.Entry(openRow_);
    const QString highlighted = books_.Entry(highlightedRow_);
    QStringList entries = library.entries;
    if (!open.isEmpty())
        KeepEntry(entries, open);
    books_.UpdateBooks(entries);
    shown_.Refilter();
    openRow_ = open.isEmpty() ? -1 : books_.RowOf(open);
    Highlight(highlighted.isEmpty() ? -1 : books_.RowOf(highlighted));
    watch_.Watch(directory_, library.folders);
}

// Whatever was selected meanwhile, the highlight is on the book shown.
void Shelf::OnLoadEnded()
{
    Q_EMIT loadingChanged(false);
    Highlight(openRow_);
}

void Shelf::Highlight(int row)
{
    highlightedRow_ = row;
    Q_EMIT highlightChanged(row);
}
