#pragma once
// Counts the time the open book is read and keeps it in the book store, in
// the rows of this computer for the book and the day (ReadingTime.h; a
// stretch read across midnight counts on both days): the reader's acts in
// the pane, and auto-scroll or read-aloud running, are the activities of a
// ReadingClock, counted only while the pane is in sight (its window shown and
// not minimised); the pane hidden or another book shown stops it. Rows are
// written at most every kWriteEveryMs, and when reading stops.
// Also tells the reader's speed for the estimates of the time left.
#include "core/ReadingClock.h"
#include "core/ReadingTime.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <optional>

class BookStore;
class EditBox;
class Preferences;
class ReadingSession;

class ReadingTimeKeeping : public QObject {
public:
    static constexpr int kWriteEveryMs = 30 * 1000;
    static constexpr int kRunningTickMs = 60 * 1000;

    // Counts as this computer, the device of the settings file that
    // `preferences` has loaded by then (DeviceList.h).
    ReadingTimeKeeping(ReadingSession &session, EditBox &pane, BookStore &store, const Preferences &preferences,
                       QObject *parent);
    // Stops the clock; what was counted is written.
    ~ReadingTimeKeeping() override;
    ReadingTimeKeeping(const ReadingTimeKeeping &) = delete;
    ReadingTimeKeeping &operator=(const ReadingTimeKeeping &) = delete;

    // The reader's speed in characters a minute (ReadingSpeed).
    double Speed();
    // Rows came into the store from elsewhere (another computer's): they
    // are counted in from now on.
    void TakeStoredRows();
    // The store's rows with what was counted since, written or not.
    const QList<ReadingTimeRow> &CountedRows() { return Rows(); }

private:
    void OnActivity();
    void OnStop();
    void OnBookShown();
    void FollowRunning();
    // Adds what was read until `now` to the rows of the book timed, of the
    // day or days it was read on.
    void Count(const ReadStretch &read, qint64 now);
    void AddToRow(const DayStretch &part);
    void WriteCounted();
    // Whether the pane is shown in a window that is not minimised.
    bool PaneInSight() const;
    QList<ReadingTimeRow> &Rows();

    ReadingSession &session_;
    const EditBox &pane_;
    BookStore &store_;
    const Preferences &preferences_;
    // The record key of the book being timed; none before the first.
    QString book_;
    ReadingClock clock_;
    // The store's rows, read once, with what was counted since.
    std::optional<QList<ReadingTimeRow>> rows_;
    // The rows counted and not yet written, by their place in rows_.
    QSet<qsizetype> unwritten_;
    QTimer write_;
    // Ticks while auto-scroll or read-aloud runs: the reader reads on.
    QTimer running_;
};
