#include "shelf/Shelf.h"

#include "core/BookFolder.h"
#include "shelf/Log.h"
#include "ui/FolderChooser.h"
#include "ui/ListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

bool EndsWithSeparator(const QString &directory)
{
    return directory.endsWith(QDir::separator()) || directory.endsWith(QLatin1Char('/'));
}

} // namespace

Shelf::Shelf(ListBox &bookList, QLineEdit &pathBox, NotifyLabel &progressLabel, QObject *parent)
    : QObject(parent), bookList_(bookList), pathBox_(pathBox), loader_(progressLabel)
{
    connect(&loader_, &BookLoader::bookLoaded, this, &Shelf::OnBookLoaded);
    connect(&loader_, &BookLoader::loadFailed, this, [this](const QString &path) {
        qCInfo(lcShelf) << "could not open" << path;
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
    for (const QString &name : names)
        bookList_.AddItem(name);
    qCInfo(lcShelf) << "listed" << names.size() << "books in" << directory;
    pathBox_.setText(directory);
    directory_ = directory;
}

bool Shelf::OnOpenFolder(QWidget *window)
{
    // The chooser opens where the books are, or in the home folder.
    const QString start = QFileInfo(directory_).isDir() ? QDir(directory_).absolutePath() : QDir::homePath();
    const QString chosen = ChooseFolder(window, QStringLiteral("选择目录"), start);
    if (chosen.isEmpty())
        return false;
    ListFolder(chosen);
    return true;
}

void Shelf::ListFolder(const QString &folder)
{
    bookList_.DeleteAll();
    openBookIndex_ = -1;
    FillBookList(folder);
    Q_EMIT folderListed();
}

bool Shelf::OpenBookFile(const QString &path)
{
    const QFileInfo file(path);
    const bool listed = QDir(file.absolutePath()) == QDir(directory_);
    int index = listed ? RowOf(file.fileName()) : -1;
    if (index < 0) {
        ListFolder(file.absolutePath());
        index = RowOf(file.fileName());
    }
    return OpenBookAt(index);
}

void Shelf::SetRequestMaker(std::function<BookRequest(const QString &, const QString &)> maker)
{
    requestFor_ = std::move(maker);
}

bool Shelf::OpenBookAt(int index)
{
    const QString fileName = bookList_.ItemText(index);
    if (index < 0 || index >= bookList_.Count() || CheckBookFile(directory_ + fileName) != BookFileProblem::None) {
        qCInfo(lcShelf) << "not opening" << directory_ + fileName;
        loader_.Cancel();
        OnLoadEnded();
        Q_EMIT openFailed();
        return false;
    }
    Reload(requestFor_ ? requestFor_(directory_, fileName) : BookRequest{directory_, fileName, {}, {}, {}});
    return true;
}

void Shelf::Reload(BookRequest request)
{
    if (!busy_)
        busy_.emplace();
    loader_.Load(std::move(request));
}

void Shelf::StopLoading()
{
    const bool stopped = loader_.IsLoading();
    loader_.Stop();
    busy_.reset();
    if (stopped)
        Q_EMIT openFailed();
}

void Shelf::OnBookLoaded(const OpenBook &book)
{
    openBookIndex_ = IndexOf(book);
    OnLoadEnded();
    Q_EMIT bookOpened(book);
}

// Whatever was selected meanwhile, the highlight is on the book shown.
void Shelf::OnLoadEnded()
{
    busy_.reset();
    bookList_.SetSelection(openBookIndex_);
}

int Shelf::IndexOf(const OpenBook &book) const
{
    return book.folder == directory_ ? RowOf(book.fileName) : -1;
}

int Shelf::RowOf(const QString &fileName) const
{
    for (int i = 0; i < bookList_.Count(); ++i)
        if (bookList_.ItemText(i) == fileName)
            return i;
    return -1;
}
