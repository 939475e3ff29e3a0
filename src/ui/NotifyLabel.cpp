#include "ui/NotifyLabel.h"

#include "platform/Notification.h"

NotifyLabel::NotifyLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent) {}

void NotifyLabel::SetCaption(const QString &caption)
{
    setText(caption);
}

QString NotifyLabel::Caption() const
{
    return text();
}

void NotifyLabel::Post(int first, int second)
{
    PostNotification(this, first, second);
}

bool NotifyLabel::event(QEvent *event)
{
    if (event->type() == NotificationEvent::EventType()) {
        const auto *notification = static_cast<NotificationEvent *>(event);
        Q_EMIT notified(notification->First(), notification->Second());
        return true;
    }
    return QLabel::event(event);
}
