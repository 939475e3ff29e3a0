#include "BookList.h"

#include "BookFolder.h"
#include "FolderChooser.h"
#include "ListBox.h"
#include "ReaderControls.h"
#include "ShelfState.h"

#include <QDir>
#include <QLineEdit>

namespace {

bool EndsWithSeparator(const QString &directory)
{
    return directory.endsWith(QDir::separator()) || directory.endsWith(QLatin1Char('/'));
}

} // namespace

void FillBookList(ShelfState &shelf, const ReaderControls &controls, QString &directory)
{
    if (directory.isEmpty())
        return;
    if (!EndsWithSeparator(directory))
        directory += QDir::separator();
    for (const QString &name : ListBookFiles(directory))
        controls.列表框_文件->AddItem(name);
    controls.编辑框_路径->setText(directory);
    shelf.BookDirectory = directory;
}

void OnOpenFolder(ShelfState &shelf, const ReaderControls &controls)
{
    QString chosen = ChooseFolder(controls.mainWindow, QStringLiteral("选择目录"));
    if (chosen.isEmpty())
        return;
    controls.列表框_文件->DeleteAll();
    FillBookList(shelf, controls, chosen);
}
