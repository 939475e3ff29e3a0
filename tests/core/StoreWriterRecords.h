#pragma once
// The records book_store_writer puts, so that the test can check them.
#include "core/BookRecord.h"

inline QString WriterBookName(const QString &prefix, int i)
{
    return QStringLiteral("%1%2.txt").arg(prefix).arg(i);
}

inline BookRecord WriterRecord(int i)
{
    BookRecord record;
    record.chapter = i;
    record.chapterTitle = QStringLiteral("第%1章").arg(i);
    record.lastRead = 1765226399000 + i;
    return record;
}
