#pragma once
// Finding the chapter a reader asks to go to, by number or by words of its
// title.
#include "core/OpenBook.h"

#include <QString>

// The chapter `query` names in `book`, the reader being at chapter `current`:
// a number n (ASCII or full-width digits) is the book's chapter numbered n
// (OpenBook::ChapterWithNumber: 1 to NumberedChapters(), the head item and
// 目录 not counted); other text is a title holding each of its words
// (blank-separated, ignoring letter case), the first such after `current`,
// else the first from the head on. The item's index, or -1 when no chapter is
// named so.
int FindChapterToJump(const OpenBook &book, const QString &query, int current);
