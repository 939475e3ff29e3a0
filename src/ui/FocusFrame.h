#pragma once
// A thin frame in the highlight colour around a control while it has the
// keyboard focus, so that Tab shows where the keys now go. It lies over the
// control's edges as a child of its own: it takes no mouse input, and the
// control's scrolling never moves it.
#include <QWidget>

class FocusFrame : public QWidget {
public:
    // Frames `control` for its lifetime.
    explicit FocusFrame(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
