#include "sync/FutureMarks.h"

namespace {

// Each mark costs a few dozen bytes; a server that dates every answer anew
// cannot grow the list without end.
constexpr qsizetype kMostRemembered = 10000;

} // namespace

ChangeMark FutureMarks::Weighed(const QString &book, const ChangeMark &mark, qint64 now)
{
    if (mark.time <= now + kLargestLeadMs)
        return mark;
    if (firstSeen_.size() >= kMostRemembered)
        firstSeen_.clear();
    const QString key = book + u'\n' + QString::number(mark.time) + u'\n' + mark.device;
    auto seen = firstSeen_.constFind(key);
    if (seen == firstSeen_.constEnd())
        seen = firstSeen_.insert(key, now);
    return {*seen, mark.device};
}
