#pragma once
// A hidden label that serves as the receiver of posted two-integer
// notifications; each one is delivered later as notified(first, second).
#include <QLabel>

class NotifyLabel : public QLabel {
    Q_OBJECT
public:
    explicit NotifyLabel(const QString &caption, QWidget *parent = nullptr);

    void SetCaption(const QString &caption);
    QString Caption() const;
    // Queues a notification; it never runs inside this call.
    void Post(int first, int second);

Q_SIGNALS:
    void notified(int first, int second);

protected:
    bool event(QEvent *event) override;
};
