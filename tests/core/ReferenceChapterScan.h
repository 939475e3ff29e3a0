#pragma once
// Slow, literal readings of the chapter rules, to check the real searches
// against: character by character, each alternative tried in order.
#include "core/ChapterHeadings.h"

// The default pattern.
QList<ChapterHeading> ReferenceChapterScan(const QString &text);

// The strict rule, line by line: after the line's blanks, a heading line of
// 1 to 40 characters (its CR not counted) that starts as a heading does; the
// heading runs to the line feed. Counts UTF-16 code units, not characters.
QList<ChapterHeading> ReferenceStrictScan(const QString &text);
