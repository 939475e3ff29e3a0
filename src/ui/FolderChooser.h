#pragma once
#include <QString>

class QWidget;

// Modal folder chooser opening at startDirectory; returns the chosen
// directory's full path, or the empty text when the user cancels.
QString ChooseFolder(QWidget *parent, const QString &title, const QString &startDirectory);
