#include "ReadAloudMeasurement.h"

#include "session/ReadingSession.h"
#include "support/WaitForStartUp.h"

#include <QElapsedTimer>
#include <QTimer>

Measurement MeasureReadAloudStart(ReadingSession &session)
{
    ReadAloud &aloud = session.Aloud();
    // A 1 ms tick: the longest gap between two ticks is the longest time the
    // window's thread was busy while the engine came up.
    QElapsedTimer sinceTick;
    double longestGapMs = 0;
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGapMs = qMax(longestGapMs, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    bool settled = false;
    QObject::connect(&aloud, &ReadAloud::voicesChanged, [&] { settled = true; });
    QObject::connect(&aloud, &ReadAloud::unavailable, [&] { settled = true; });
    sinceTick.start();
    ticks.start();
    aloud.PrepareEngine();
    WaitUntil([&] { return settled; }, 30000);
    ticks.stop();
    if (!aloud.IsAvailable() || !settled)
        return {};
    QElapsedTimer start;
    start.start();
    aloud.StartOrPause();
    const double startMs = double(start.nsecsElapsed()) / 1e6;
    aloud.Stop();
    return {{MeasurementKey::kReadAloudStartMs, startMs}, {MeasurementKey::kReadAloudStallMs, longestGapMs}};
}
