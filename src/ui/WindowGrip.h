#pragma once
// A window without a frame moved and sized through the widget that fills it:
// a press near the window's edge or corner sizes it, Alt with a press, or a
// press held still for a moment, then a drag, moves it. The window system
// does the moving (also on Wayland, where a program cannot place itself).
#include <QCursor>
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

class WindowGrip : public QObject {
    Q_OBJECT

public:
    // Watches `surface`, a widget of the window, which stays its owner.
    explicit WindowGrip(QWidget &surface);

    // Off: presses and drags are the surface's own again.
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool OnPress(const QMouseEvent &press);
    bool OnMove(const QMouseEvent &move);
    // The window's edges within reach of a point of the surface.
    Qt::Edges EdgesAt(QPoint globalPoint) const;
    void ShowEdgeCursor(Qt::Edges edges);

    QWidget &surface_;
    bool enabled_ = false;
    // The surface's own pointer, shown away from the edges.
    QCursor ownCursor_;
    // The press a drag may move the window from, and since when it is held.
    bool pressed_ = false;
    QPoint pressedAt_;
    QElapsedTimer held_;
};
