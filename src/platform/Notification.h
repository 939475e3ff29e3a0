#pragma once
// A two-integer notification posted to an object and delivered later, on the
// receiver's thread, when its event queue is next processed.
#include <QEvent>

class QObject;

class NotificationEvent : public QEvent {
public:
    NotificationEvent(int first, int second);

    static QEvent::Type EventType();

    int First() const { return first_; }
    int Second() const { return second_; }

private:
    int first_;
    int second_;
};

// Queues the notification without waiting for it to be handled.
void PostNotification(QObject *receiver, int first, int second);
