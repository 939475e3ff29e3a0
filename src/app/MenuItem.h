#pragma once
// Adding a menu item that calls its handler when chosen.
#include <QAction>
#include <QMenu>
#include <functional>

inline QAction *AddMenuItem(QMenu *menu, const QString &text, std::function<void()> handler)
{
    QAction *action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, menu, [handler = std::move(handler)] { handler(); });
    return action;
}
