#pragma once
// The time read, as books.db keeps it: a row per book, day and computer, so
// that the rows of computers syncing with each other add up and none is
// counted twice. A row only grows (its computer adds to it), so two copies
// of one row merge as the larger; and what is told of it (the time read
// today, this week..., the reader's speed) is summed from the rows.
#include <QDate>
#include <QList>
#include <QString>

struct ReadingTimeRow {
    QString book; // the book's record key (BookKey.h)
    QDate day;    // the local date
    QString device;
    qint64 ms = 0;
    qint64 characters = 0;
    friend bool operator==(const ReadingTimeRow &, const ReadingTimeRow &) = default;
};

// The rows of both, one per book, day and device: the larger of two copies.
QList<ReadingTimeRow> MergedReadingTime(const QList<ReadingTimeRow> &ours, const QList<ReadingTimeRow> &theirs);

// The reader's speed in characters a minute: over the newest days read whose
// time adds up to kSpeedSpanMs (or all), and kDefaultSpeed until they hold
// kLeastSpeedDataMs of reading.
constexpr double kDefaultSpeed = 500;
constexpr qint64 kSpeedSpanMs = qint64(3) * 60 * 60 * 1000;
constexpr qint64 kLeastSpeedDataMs = qint64(30) * 60 * 1000;
double ReadingSpeed(const QList<ReadingTimeRow> &rows);
// The whole minutes it takes to read `characters` at `speed` (characters a
// minute), a started minute counted as one; 0 for nothing left or no speed.
qint64 MinutesToRead(qsizetype characters, double speed);

// What the statistics tell, all computers together.
struct ReadingTotals {
    qint64 todayMs = 0;
    qint64 weekMs = 0; // since Monday
    qint64 yearMs = 0;
    qint64 allMs = 0;
    // Days read in a row up to today, or up to yesterday when today has
    // nothing yet.
    int daysInARow = 0;
    // The last kChartDays days, the oldest first, today last.
    QList<qint64> lastDaysMs;
    // Each book's time, the most read first.
    QList<std::pair<QString, qint64>> books;
    static constexpr int kChartDays = 30;
};
ReadingTotals ReadingTotalsOf(const QList<ReadingTimeRow> &rows, const QDate &today);
