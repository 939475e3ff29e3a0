#include "shelf/Shelf.h"

#include "core/BookFolder.h"
#include "core/Log.h"
#include "shelf/Log.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool EndsWithSeparator(const QString &directory)
{
    return directory.endsWith(QDir::separator()) || directory.endsWith(QLatin1Char('/'));
}

} // namespace

Shelf::Shelf(QObject *parent) : QObject(parent)
{
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
    const QStringList names = ListBookFiles(directory);
    books_.AddBooks(names);
    qCInfo(lcShelf) << "listed" << names.size() << "books in" << LoggedPath(directory);
    directory_ = directory;
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
    books_.SetBooks({});
    openRow_ = -1;
    Highlight(-1);
}

bool Shelf::OpenBookFile(const QString &path)
{
    const QFileInfo file(path);
    const bool listed = QDir(file.absolutePath()) == QDir(directory_);
    int row = listed ? books_.RowOf(file.fileName()) : -1;
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
    const QString fileName = books_.FileName(row);
    if (row < 0 || row >= books_.Count() || CheckBookFile(directory_ + fileName) != BookFileProblem::None) {
        qCInfo(lcShelf) << "not opening" << LoggedPath(directory_ + fileName);
        loader_.Cancel();
        OnLoadEnded();
        Q_EMIT openFailed();
        return false;
    }
    Reload(requestFor_ ? requestFor_(directory_, fileName) : BookRequest{directory_, fileName, {}, {}, {}, {}});
    Highlight(row);
    return true;
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
    openRow_ = book.folder == directory_ ? books_.RowOf(book.fileName) : -1;
    OnLoadEnded();
    Q_EMIT bookOpened(book);
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
