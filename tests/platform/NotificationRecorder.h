#pragma once
// A widget that records the notifications posted to it, as a hot key's target.
#include "platform/Notification.h"

#include <QList>
#include <QPair>
#include <QWidget>

class NotificationRecorder : public QWidget {
public:
    QList<QPair<int, int>> received;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != NotificationEvent::EventType())
            return QWidget::event(event);
        const auto *notification = static_cast<NotificationEvent *>(event);
        received.append({notification->First(), notification->Second()});
        return true;
    }
};
