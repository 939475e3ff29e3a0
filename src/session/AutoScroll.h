#pragma once
// 自动滚动: the pane scrolls smoothly on its own at a speed the reader sets
// (kept in config.ini), into the next chapter at the end of one, as Space
// does. It stops at the book's end and on Stop: the views stop it on any key,
// click or wheel in the pane, and when the window is hidden. The place is
// saved as it scrolls (see PlaceSaver).
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class ReadingSession;

class AutoScroll : public QObject {
    Q_OBJECT
public:
    // Speeds in lines of the pane a minute.
    static constexpr int kDefaultSpeed = 20;
    static constexpr int kLeastSpeed = 2;
    static constexpr int kMostSpeed = 600;

    explicit AutoScroll(ReadingSession &session);

    bool IsRunning() const { return ticks_.isActive(); }
    // Starts (with a book open) or stops scrolling.
    void Toggle();
    void Stop();
    // The speed config.ini holds, brought into its range.
    int Speed() const;
    // Sets the speed, brought into its range, into config.ini.
    void SetSpeed(int linesPerMinute);
    // A quarter faster or slower, at least a line a minute.
    void Faster();
    void Slower();
    // The pane could slide no further: its text's last page is shown. The
    // next chapter comes; at the book's end scrolling stops.
    void OnSlidPastEnd();

Q_SIGNALS:
    void runningChanged(bool running);
    void speedChanged(int linesPerMinute);
    // The pane is to slide its text up by that many lines (a fraction of
    // one, mostly), or to put a slide back, its text where its top line
    // stands.
    void slideRequested(double lines);
    void slideEnded();

private:
    void Step();

    ReadingSession &session_;
    QTimer ticks_;
    QElapsedTimer sinceTick_;
};
