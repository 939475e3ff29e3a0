#include "ReadAloudMeasurement.h"

#include "WindowThread.h"
#include "session/ReadingSession.h"
#include "support/WaitUntil.h"

#include <QElapsedTimer>

Measurement MeasureReadAloudStart(ReadingSession &session)
{
    ReadAloud &aloud = session.Aloud();
    StallWatch watch;
    bool settled = false;
    QObject::connect(&aloud, &ReadAloud::voicesChanged, [&] { settled = true; });
    QObject::connect(&aloud, &ReadAloud::unavailable, [&] { settled = true; });
    watch.Start();
    aloud.PrepareEngine();
    WaitUntil([&] { return settled; }, 30000);
    watch.Stop();
    if (!aloud.IsAvailable() || !settled)
        return {};
    QElapsedTimer start;
    start.start();
    aloud.StartOrPause();
    const double startMs = double(start.nsecsElapsed()) / 1e6;
    aloud.Stop();
    return {{MeasurementKey::kReadAloudStartMs, startMs},
            {MeasurementKey::kReadAloudStallMs, watch.LongestGapMs()},
            {MeasurementKey::kReadAloudStallBusyMs, watch.BusyInLongestMs()}};
}
