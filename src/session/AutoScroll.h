#pragma once
// 自动滚动: the pane scrolls smoothly on its own at a speed the reader sets,
// into the next chapter at the end of one, as Space does. It stops at the
// book's end, on any key, click or wheel in the pane, and when the window is
// hidden. The place is saved as it scrolls (see PlaceSaver).
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
    int Speed() const { return speed_; }
    // The speed, brought into its range.
    void SetSpeed(int linesPerMinute);
    // A quarter faster or slower, at least a line a minute.
    void Faster();
    void Slower();

Q_SIGNALS:
    void runningChanged(bool running);
    void speedChanged(int linesPerMinute);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Step();

    ReadingSession &session_;
    QTimer ticks_;
    QElapsedTimer sinceTick_;
    int speed_ = kDefaultSpeed;
};
