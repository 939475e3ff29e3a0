#pragma once
// 在书库中查找: a window beside the main one, not modal, with a field for the
// term, the line that tells how far the search is, 停止, and the results as
// a list over the model it is given. Enter in the field asks for a search;
// Enter or a double-click on a row picks it. Esc closes the window.
#include <QDialog>

class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

class LibrarySearchWindow : public QDialog {
    Q_OBJECT
public:
    LibrarySearchWindow(QAbstractItemModel *results, QWidget *parent);

    // Shows the window in front, the keys in its field.
    void ShowInFront();
    // The line under the field, and whether a search runs (停止 can stop it).
    void ShowProgress(const QString &summary, bool running);

Q_SIGNALS:
    void termEntered(const QString &term);
    void stopRequested();
    void rowPicked(int row);

private:
    QLineEdit *term_;
    QLabel *summary_;
    QPushButton *stop_;
    QListView *list_;
};
