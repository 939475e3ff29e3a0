#pragma once
// A window beside the main one, not modal, with a list the user picks from:
// the find window (with a field for the term) and the bookmarks. Enter or a
// double-click on an item picks it, Delete asks to remove it, Esc closes the
// window. Writing its items from code raises none of its signals.
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(const QString &title, bool withTermField, QWidget *parent);

    // Replaces the items, selecting none, and the line that sums them up.
    void SetItems(const QStringList &items, const QString &summary);
    int ItemCount() const;
    // Shows the window in front, the keys in its field (or its list).
    void ShowInFront();
    // A button under the list, for an act on the whole of it.
    QPushButton *AddButton(const QString &text);

Q_SIGNALS:
    void termEntered(const QString &term);
    void itemPicked(int index);
    void itemDeleteRequested(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *term_ = nullptr;
    QLabel *summary_;
    QListWidget *list_;
};
