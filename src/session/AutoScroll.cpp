#include "session/AutoScroll.h"

#include "session/ReadingSession.h"
#include "ui/EditBox.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>

namespace {

// About 60 frames a second; a tick that comes late (a busy machine) moves
// no farther than this much time would.
constexpr int kTickMs = 16;
constexpr qint64 kLongestTickMs = 100;
constexpr double kMillisecondsAMinute = 60000;

bool IsModifierKey(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_AltGr
        || key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

} // namespace

AutoScroll::AutoScroll(ReadingSession &session) : session_(session)
{
    ticks_.setInterval(kTickMs);
    ticks_.setTimerType(Qt::PreciseTimer);
    connect(&ticks_, &QTimer::timeout, this, &AutoScroll::Step);
    EditBox &pane = session.Pane();
    pane.installEventFilter(this);
    pane.viewport()->installEventFilter(this);
}

void AutoScroll::Toggle()
{
    if (IsRunning())
        return Stop();
    if (!session_.HasBook())
        return;
    sinceTick_.start();
    ticks_.start();
    Q_EMIT runningChanged(true);
}

void AutoScroll::Stop()
{
    if (!IsRunning())
        return;
    ticks_.stop();
    session_.Pane().StopSliding();
    Q_EMIT runningChanged(false);
}

void AutoScroll::SetSpeed(int linesPerMinute)
{
    const int speed = qBound(kLeastSpeed, linesPerMinute, kMostSpeed);
    if (speed == speed_)
        return;
    speed_ = speed;
    Q_EMIT speedChanged(speed_);
}

void AutoScroll::Faster()
{
    SetSpeed(qMax(speed_ + 1, speed_ * 5 / 4));
}

void AutoScroll::Slower()
{
    SetSpeed(qMin(speed_ - 1, speed_ * 4 / 5));
}

// Slides the pane by the time since the last tick; at a chapter's end the
// next chapter comes, at the book's end scrolling stops.
void AutoScroll::Step()
{
    EditBox &pane = session_.Pane();
    const qint64 elapsed = qMin(sinceTick_.restart(), kLongestTickMs);
    const qreal lineHeight = QFontMetricsF(pane.font()).lineSpacing() * pane.TextTypography().lineSpacing;
    if (pane.SlideUp(speed_ * lineHeight * double(elapsed) / kMillisecondsAMinute))
        return;
    const int chapter = session_.ShownChapter();
    session_.OnContentPagedPast(1);
    if (session_.ShownChapter() == chapter)
        Stop();
}

bool AutoScroll::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        // A modifier alone is the start of a speed key, not a stop.
        if (!IsModifierKey(static_cast<QKeyEvent *>(event)->key()))
            Stop();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::Hide:
        Stop();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
