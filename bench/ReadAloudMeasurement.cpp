#include "ReadAloudMeasurement.h"

#include "session/ReadingSession.h"
#include "support/WaitForStartUp.h"

#include <QElapsedTimer>
#include <QTimer>

#include <ctime>

namespace {

// The processor time the calling thread has used, in milliseconds.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

Measurement MeasureReadAloudStart(ReadingSession &session)
{
    ReadAloud &aloud = session.Aloud();
    // A 1 ms tick: the longest gap between two ticks is the longest time the
    // window's thread did not get round to its events while the engine came
    // up; the thread's own processor time in that gap tells work of ours from
    // waiting for a core that the speech service and the pool are using.
    QElapsedTimer sinceTick;
    double cpuAtTickMs = ThreadCpuMs();
    double longestGapMs = 0;
    double busyInLongestMs = 0;
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const double gapMs = double(sinceTick.nsecsElapsed()) / 1e6;
        const double cpuMs = ThreadCpuMs();
        if (gapMs > longestGapMs) {
            longestGapMs = gapMs;
            busyInLongestMs = cpuMs - cpuAtTickMs;
        }
        cpuAtTickMs = cpuMs;
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
    return {{MeasurementKey::kReadAloudStartMs, startMs},
            {MeasurementKey::kReadAloudStallMs, longestGapMs},
            {MeasurementKey::kReadAloudStallBusyMs, busyInLongestMs}};
}
