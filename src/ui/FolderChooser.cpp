#include "ui/FolderChooser.h"

#include <QFileDialog>

QString ChooseFolder(QWidget *parent, const QString &title, const QString &startDirectory)
{
    // Qt's own dialog: the same on every desktop, and drivable in tests.
    return QFileDialog::getExistingDirectory(parent, title, startDirectory,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}
