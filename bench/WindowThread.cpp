#include "WindowThread.h"

#include <ctime>

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

StallWatch::StallWatch()
{
    ticks_.setInterval(1);
    ticks_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks_, &QTimer::timeout, [this] { Tick(); });
}

void StallWatch::Start()
{
    longestGapMs_ = 0;
    busyInLongestMs_ = 0;
    cpuAtTickMs_ = ThreadCpuMs();
    sinceTick_.start();
    ticks_.start();
}

void StallWatch::Tick()
{
    const double gapMs = double(sinceTick_.nsecsElapsed()) / 1e6;
    const double cpuMs = ThreadCpuMs();
    if (gapMs > longestGapMs_) {
        longestGapMs_ = gapMs;
        busyInLongestMs_ = cpuMs - cpuAtTickMs_;
    }
    cpuAtTickMs_ = cpuMs;
    sinceTick_.restart();
}
