#include "core/ReadingClock.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

QList<DayStretch> StretchByDay(const ReadStretch &read, qint64 now, const QTimeZone &zone)
{
    QList<DayStretch> parts;
    qint64 from = now - read.ms;
    qint64 charactersLeft = read.characters;
    while (from < now) {
        const QDate day = QDateTime::fromMSecsSinceEpoch(from, zone).date();
        // The start of the next day, not its 00:00: a change of the clocks
        // may skip that hour.
        const qint64 nextDay = day.addDays(1).startOfDay(zone).toMSecsSinceEpoch();
        const qint64 until = nextDay > from ? std::min(nextDay, now) : now;
        const qint64 characters = until == now ? charactersLeft : read.characters * (until - from) / read.ms;
        parts.append({day, {until - from, characters}});
        charactersLeft -= characters;
        from = until;
    }
    return parts;
}

ReadStretch ReadingClock::Since(qint64 now, qsizetype position) const
{
    if (!last_ || now <= *last_)
        return {};
    const qint64 ms = std::min(now - *last_, kLongestPauseMs);
    const qint64 moved = position - lastPosition_;
    const bool read = moved > 0 && moved * 60 * 1000 <= kFastestCharactersPerMinute * ms;
    return {ms, read ? moved : 0};
}

ReadStretch ReadingClock::Activity(qint64 now, qsizetype position)
{
    const ReadStretch read = Since(now, position);
    last_ = now;
    lastPosition_ = position;
    return read;
}

ReadStretch ReadingClock::Stop(qint64 now)
{
    const ReadStretch read = Since(now, lastPosition_);
    last_.reset();
    return read;
}
