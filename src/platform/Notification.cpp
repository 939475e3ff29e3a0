#include "platform/Notification.h"

#include <QCoreApplication>

NotificationEvent::NotificationEvent(int first, int second) : QEvent(EventType()), first_(first), second_(second) {}

QEvent::Type NotificationEvent::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostNotification(QObject *receiver, int first, int second)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new NotificationEvent(first, second));
}
