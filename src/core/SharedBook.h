#pragma once
// What the shared folder keeps of one book (BookSync.h): the parts of its
// record that follow the reader (SyncedRecordToJson), its highlights with
// the deleted ones (Highlight.h), and every computer's time read in it
// (ReadingTime.h). As a file, the record's object with two more members:
//
//     {"version":1, "chapter":3, ...,
//      "highlights":[{"start":10,"end":12,"text":"灯火","colour":1,"note":"",
//                     "created":5,"changed":6,"deleted":0}],
//      "readingTime":[{"day":"2026-12-10","device":"pc-1","ms":60000,
//                      "characters":500}]}
//
// Both members are optional: a file written before them has neither.
#include "core/BookRecord.h"
#include "core/Highlight.h"
#include "core/ReadingTime.h"

#include <QByteArray>

#include <optional>

struct SharedBook {
    BookRecord record;
    QList<Highlight> highlights;
    // The rows of this book only.
    QList<ReadingTimeRow> readingTime;

    bool operator==(const SharedBook &) const = default;
};

// What one shared file may hold besides the record (RecordLimits.h).
inline constexpr qsizetype kMostHighlights = 10000;
inline constexpr qsizetype kLongestHighlightText = 200000;
inline constexpr qsizetype kMostReadingTimeRows = 20000;

QByteArray SharedBookToJson(const SharedBook &book);
// The file's book, its time rows under the record key `key`; nullopt when
// the text is not such a file (not JSON, no version, a value of the wrong
// type).
std::optional<SharedBook> SharedBookFromJson(const QByteArray &json, const QString &key);

// The book less what cannot be or breaks the caps: the record cut as
// WithinLimits cuts it; a highlight that is not a stretch of its own text, a
// text or note longer than kLongestHighlightText, those past the first
// kMostHighlights; a time row of no day or device, of a time beyond a day or
// negative, those past the first kMostReadingTimeRows.
SharedBook WithinLimits(SharedBook book, qint64 bookSize);

// What both copies agree on: the records merged (MergeRecords), the
// highlights merged (MergeHighlights), the larger of each time row
// (MergedReadingTime).
SharedBook MergeSharedBooks(const SharedBook &local, const SharedBook &remote);
