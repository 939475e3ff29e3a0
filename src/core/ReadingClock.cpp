#include "core/ReadingClock.h"

#include <algorithm>

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
