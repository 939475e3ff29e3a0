#pragma once
// What one book's record may hold. The reader itself stays far below these
// caps; a record beyond them comes from a damaged store or a server that
// lies, and would only slow every look at the book: a record is read and
// merged whole each time the book is opened, saved or synced.
#include "core/BookRecord.h"

inline constexpr qsizetype kMostBookmarks = 5000;
inline constexpr qsizetype kMostRemovedHeadings = 20000;
// A bookmark's label and chapter title, a removed heading, the place's title.
inline constexpr qsizetype kLongestText = 500;

// The record less what breaks the caps: a bookmark (kept or deleted) or a
// removed heading whose text is longer than kLongestText or whose position
// lies past `bookSize` (the book's bytes, which no position within its text
// exceeds; negative: not known), and those left past the first
// kMostBookmarks (kMostRemovedHeadings) in book order. Nothing else changes.
BookRecord WithinLimits(BookRecord record, qint64 bookSize);

// Whether the record's place can be one in the book: a chapter that is not
// negative, a line and position of -1 (not known) or more, the position
// within `bookSize` where that is known, a title of at most kLongestText.
bool PlaceWithinLimits(const BookRecord &record, qint64 bookSize);
