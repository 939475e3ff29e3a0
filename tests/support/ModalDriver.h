#pragma once
// Drives a modal dialog from inside its own event loop: once the wanted
// dialog is the active modal widget, `drive` runs on it; a dialog the drive
// left open is cancelled so that a failed check cannot hang the test.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

class ModalDriver {
public:
    ModalDriver(const std::function<bool(QDialog *)> &isWanted, const std::function<void(QDialog *)> &drive)
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, isWanted, drive] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !isWanted(dialog))
                return;
            timer_.stop();
            const QPointer<QDialog> guard(dialog);
            drive(dialog);
            if (guard && guard->isVisible())
                guard->reject();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};
