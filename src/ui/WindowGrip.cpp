#include "ui/WindowGrip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

// How near the edge a press sizes the window.
constexpr int kEdgeReach = 6;
// How long a press is held still before a drag moves the window instead of
// selecting text.
constexpr qint64 kHoldMs = 350;

Qt::CursorShape CursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

WindowGrip::WindowGrip(QWidget &surface) : QObject(&surface), surface_(surface)
{
    surface_.setMouseTracking(true);
    surface_.installEventFilter(this);
}

void WindowGrip::SetEnabled(bool enabled)
{
    if (enabled && !enabled_)
        ownCursor_ = surface_.cursor();
    if (!enabled && enabled_)
        surface_.setCursor(ownCursor_);
    enabled_ = enabled;
    pressed_ = false;
}

bool WindowGrip::eventFilter(QObject *watched, QEvent *event)
{
    if (!enabled_ || watched != &surface_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return OnPress(static_cast<const QMouseEvent &>(*event));
    case QEvent::MouseMove:
        return OnMove(static_cast<const QMouseEvent &>(*event));
    case QEvent::MouseButtonRelease:
        pressed_ = false;
        return false;
    default:
        return false;
    }
}

bool WindowGrip::OnPress(const QMouseEvent &press)
{
    QWindow *window = surface_.window()->windowHandle();
    if (press.button() != Qt::LeftButton || !window)
        return false;
    const QPoint at = press.globalPosition().toPoint();
    if (const Qt::Edges edges = EdgesAt(at))
        return window->startSystemResize(edges);
    if (press.modifiers() & Qt::AltModifier)
        return window->startSystemMove();
    pressed_ = true;
    pressedAt_ = at;
    held_.start();
    return false;
}

bool WindowGrip::OnMove(const QMouseEvent &move)
{
    const QPoint at = move.globalPosition().toPoint();
    if (!(move.buttons() & Qt::LeftButton)) {
        ShowEdgeCursor(EdgesAt(at));
        return false;
    }
    if (!pressed_ || (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return false;
    // Moved at once: the press selects text as in the full window.
    pressed_ = false;
    QWindow *window = surface_.window()->windowHandle();
    return held_.elapsed() >= kHoldMs && window && window->startSystemMove();
}

Qt::Edges WindowGrip::EdgesAt(QPoint globalPoint) const
{
    const QWidget *window = surface_.window();
    const QPoint at = window->mapFromGlobal(globalPoint);
    Qt::Edges edges;
    if (at.x() < kEdgeReach)
        edges |= Qt::LeftEdge;
    if (at.x() >= window->width() - kEdgeReach)
        edges |= Qt::RightEdge;
    if (at.y() < kEdgeReach)
        edges |= Qt::TopEdge;
    if (at.y() >= window->height() - kEdgeReach)
        edges |= Qt::BottomEdge;
    return edges;
}

void WindowGrip::ShowEdgeCursor(Qt::Edges edges)
{
    surface_.setCursor(edges ? QCursor(CursorFor(edges)) : ownCursor_);
}
