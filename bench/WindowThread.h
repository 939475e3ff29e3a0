#pragma once
// Watching the window's thread while something runs: the longest time it did
// not get round to its events (a 1 ms tick that came late), and how much of
// that gap was its own processor time, which tells work of ours from waiting
// for a core that other threads and programs are using.
#include <QElapsedTimer>
#include <QTimer>

// The processor time the calling thread has used, in milliseconds.
double ThreadCpuMs();

class StallWatch {
public:
    StallWatch();
    void Start();
    void Stop() { ticks_.stop(); }
    double LongestGapMs() const { return longestGapMs_; }
    double BusyInLongestMs() const { return busyInLongestMs_; }

private:
    void Tick();

    QTimer ticks_;
    QElapsedTimer sinceTick_;
    double cpuAtTickMs_ = 0;
    double longestGapMs_ = 0;
    double busyInLongestMs_ = 0;
};
