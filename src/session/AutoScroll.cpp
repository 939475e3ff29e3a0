#include "session/AutoScroll.h"

#include "core/Preferences.h"
#include "session/ReadingSession.h"

namespace {

// About 60 frames a second; a tick that comes late (a busy machine) moves
// no farther than this much time would.
constexpr int kTickMs = 16;
constexpr qint64 kLongestTickMs = 100;
constexpr double kMillisecondsAMinute = 60000;

} // namespace

AutoScroll::AutoScroll(ReadingSession &session) : session_(session)
{
    ticks_.setInterval(kTickMs);
    ticks_.setTimerType(Qt::PreciseTimer);
    connect(&ticks_, &QTimer::timeout, this, &AutoScroll::Step);
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
    Q_EMIT slideEnded();
    Q_EMIT runningChanged(false);
}

int AutoScroll::Speed() const
{
    return qBound(kLeastSpeed, session_.Prefs().Values().autoScrollSpeed, kMostSpeed);
}

void AutoScroll::SetSpeed(int linesPerMinute)
{
    const int speed = qBound(kLeastSpeed, linesPerMinute, kMostSpeed);
    const bool differs = speed != session_.Prefs().Values().autoScrollSpeed;
    session_.Prefs().Set(&Settings::autoScrollSpeed, speed);
    if (differs)
        Q_EMIT speedChanged(speed);
}

void AutoScroll::Faster()
{
    const int speed = Speed();
    SetSpeed(qMax(speed + 1, speed * 5 / 4));
}

void AutoScroll::Slower()
{
    const int speed = Speed();
    SetSpeed(qMin(speed - 1, speed * 4 / 5));
}

// Slides the pane by the time since the last tick.
void AutoScroll::Step()
{
    const qint64 elapsed = qMin(sinceTick_.restart(), kLongestTickMs);
    Q_EMIT slideRequested(Speed() * double(elapsed) / kMillisecondsAMinute);
}

void AutoScroll::OnSlidPastEnd()
{
    if (!IsRunning())
        return;
    const int chapter = session_.ShownChapter();
    session_.OnContentPagedPast(1);
    if (session_.ShownChapter() == chapter)
        Stop();
}
