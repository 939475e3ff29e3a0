#include "ui/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
constexpr int kBusyAfterMs = 200;
} // namespace

BusyCursor::BusyCursor()
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        shown_ = true;
    });
    timer_.start(kBusyAfterMs);
}

BusyCursor::~BusyCursor()
{
    if (shown_)
        QGuiApplication::restoreOverrideCursor();
}
