#include "shelf/BookList.h"

#include "core/BookFolder.h"
#include "shelf/Log.h"
#include "shelf/ShelfState.h"
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

void FillBookList(ShelfState &shelf, ListBox &bookList, QLineEdit &pathBox, QString &directory)
{
    if (directory.isEmpty())
        return;
    if (!EndsWithSeparator(directory))
        directory += QDir::separator();
    const QStringList names = ListBookFiles(directory);
    for (const QString &name : names)
        bookList.AddItem(name);
    qCInfo(lcShelf) << "listed" << names.size() << "books in" << directory;
    pathBox.setText(directory);
    shelf.BookDirectory = directory;
}

bool OnOpenFolder(ShelfState &shelf, QWidget *window, ListBox &bookList, QLineEdit &pathBox)
{
    // The chooser opens where the books are, or in the home folder.
    const QString start =
        QFileInfo(shelf.BookDirectory).isDir() ? QDir(shelf.BookDirectory).absolutePath() : QDir::homePath();
    QString chosen = ChooseFolder(window, QStringLiteral("选择目录"), start);
    if (chosen.isEmpty())
        return false;
    bookList.DeleteAll();
    shelf.openBookIndex = -1;
    FillBookList(shelf, bookList, pathBox, chosen);
    return true;
}
