#include "shelf/BookList.h"

#include "core/BookFolder.h"
#include "shelf/ShelfState.h"
#include "ui/FolderChooser.h"
#include "ui/ListBox.h"

#include <QDir>
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
    for (const QString &name : ListBookFiles(directory))
        bookList.AddItem(name);
    pathBox.setText(directory);
    shelf.BookDirectory = directory;
}

bool OnOpenFolder(ShelfState &shelf, QWidget *window, ListBox &bookList, QLineEdit &pathBox)
{
    QString chosen = ChooseFolder(window, QStringLiteral("选择目录"));
    if (chosen.isEmpty())
        return false;
    bookList.DeleteAll();
    shelf.openBookIndex = -1;
    FillBookList(shelf, bookList, pathBox, chosen);
    return true;
}
