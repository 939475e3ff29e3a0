#pragma once
// Counts the time spent reading: the time between two things the reader did
// (a key, a click, a turn of the wheel, a tick of auto-scroll or read-aloud),
// a pause longer than kLongestPauseMs counting as that long and no more, so
// that a reader left open in the background does not read for hours. Times
// are the wall clock's (milliseconds since 1970), which the user or the
// network may set back or forward: a step back counts nothing, a leap forward
// (a computer that slept) counts as a long pause, never as more. Also tells
// how many characters were read meanwhile, from where the reader's place
// moved: forward, at a pace a reader can read; a jump counts none.
#include <QDate>
#include <QList>
#include <QtGlobal>

#include <optional>

class QTimeZone;

struct ReadStretch {
    qint64 ms = 0;
    qint64 characters = 0;
    friend bool operator==(const ReadStretch &, const ReadStretch &) = default;
};

// The part of a stretch read on one local date.
struct DayStretch {
    QDate day;
    ReadStretch read;
    friend bool operator==(const DayStretch &, const DayStretch &) = default;
};

// `read`, which ended at `now`, cut at the midnights of `zone` into the parts
// read on each date there, the earliest first: a stretch read across
// midnight counts on both days. The characters are shared out as the time
// is, the last part taking what the rounding leaves. None for no time.
QList<DayStretch> StretchByDay(const ReadStretch &read, qint64 now, const QTimeZone &zone);

class ReadingClock {
public:
    static constexpr qint64 kLongestPauseMs = qint64(5) * 60 * 1000;
    // Faster than this the place jumped rather than was read.
    static constexpr qint64 kFastestCharactersPerMinute = 3000;

    // The reader did something at `now`, the place `position` characters
    // into the book: what was read since the last thing done, none at the
    // first one or the first after Stop.
    ReadStretch Activity(qint64 now, qsizetype position);
    // Reading stopped at `now` (the window hidden, the book closed): what was
    // read since the last thing done, as Activity counts it; the next
    // activity starts afresh.
    ReadStretch Stop(qint64 now);

private:
    ReadStretch Since(qint64 now, qsizetype position) const;

    std::optional<qint64> last_;
    qsizetype lastPosition_ = 0;
};
