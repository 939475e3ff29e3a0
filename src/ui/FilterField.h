#pragma once
// A one-line field that narrows a list as the user types. Esc in it empties
// it (before any shortcut of the window's takes the key); with nothing in it
// Esc goes on to the window.
#include <QLineEdit>

class FilterField : public QLineEdit {
    Q_OBJECT
public:
    FilterField(const QString &placeholder, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
