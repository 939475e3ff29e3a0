#include "ui/FolderChooser.h"

#include <QFileDialog>

QString ChooseFolder(QWidget *parent, const QString &title)
{
    // Qt's own dialog: the same on every desktop, and drivable in tests.
    return QFileDialog::getExistingDirectory(parent, title, QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}
