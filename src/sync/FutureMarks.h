#pragma once
// Another computer's change marks as this computer's clock weighs them. A
// mark dated more than five minutes ahead (a clock set wrong, a server that
// lies) counts as made when this reader first saw it: it wins once, as a
// change made then would, and loses to every change the user makes here
// afterwards, instead of winning every merge until its date comes.
#include "core/BookRecord.h"

#include <QHash>

class FutureMarks {
public:
    static constexpr qint64 kLargestLeadMs = qint64(5) * 60 * 1000;

    // The mark of a change to `book` as merging weighs it, `now` being this
    // computer's time (milliseconds since 1970, UTC).
    ChangeMark Weighed(const QString &book, const ChangeMark &mark, qint64 now);

private:
    // When each mark dated ahead was first seen, by book, time and device.
    QHash<QString, qint64> firstSeen_;
};
