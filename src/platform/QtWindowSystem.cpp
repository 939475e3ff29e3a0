#include "platform/QtWindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

WindowRect ToWindowRect(const QRect &rect)
{
    // QRect::right() is the last pixel inside; ours is the first one outside.
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

} // namespace

WindowHandle QtWindowSystem::GetParent(WindowHandle window) const
{
    const QWidget *widget = WidgetOf(window);
    if (!widget || widget->isWindow())
        return 0;
    return HandleOf(widget->parentWidget());
}

WindowRect QtWindowSystem::GetClientRect(WindowHandle window) const
{
    const QWidget *widget = WidgetOf(window);
    return widget ? ToWindowRect(widget->rect()) : WindowRect{};
}

WindowRect QtWindowSystem::GetWindowRect(WindowHandle window) const
{
    const QWidget *widget = WidgetOf(window);
    if (!widget)
        return {};
    if (widget->isWindow())
        return ToWindowRect(widget->frameGeometry());
    return ToWindowRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

WindowPoint QtWindowSystem::ScreenToClient(WindowHandle window, WindowPoint screenPoint) const
{
    const QWidget *widget = WidgetOf(window);
    if (!widget)
        return screenPoint;
    const QPoint client = widget->mapFromGlobal(QPoint(screenPoint.x, screenPoint.y));
    return {client.x(), client.y()};
}

void QtWindowSystem::MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint)
{
    QWidget *widget = WidgetOf(window);
    if (!widget)
        return;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (widget->isWindow()) {
        // The outer size is asked for; Qt sizes the inside of the frame.
        const QSize frameExtra = widget->frameGeometry().size() - widget->size();
        widget->move(x, y);
        widget->resize(std::max(width - frameExtra.width(), 0), std::max(height - frameExtra.height(), 0));
    } else {
        widget->setGeometry(x, y, width, height);
    }
    if (repaint)
        widget->update();
}

std::vector<WindowRect> QtWindowSystem::GetScreenRects() const
{
    std::vector<WindowRect> screens;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        screens.push_back(ToWindowRect(primary->availableGeometry()));
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != primary)
            screens.push_back(ToWindowRect(screen->availableGeometry()));
    return screens;
}
