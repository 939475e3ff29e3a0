#pragma once
// A term found in one book of the library: its first occurrences, each with
// its chapter and a line of the text around it, as the library's search lists
// them, and how many there are in all.
#include "core/BookSearch.h"

#include <QList>
#include <QString>

struct OpenBook;

// Occurrences listed per book; the rest are only counted.
inline constexpr qsizetype kHitsPerBook = 100;

struct BookHit {
    // The chapter that holds it, and where it stands in that chapter's text.
    int chapter = -1;
    qsizetype position = 0;
    qsizetype length = 0;
    // The chapter's title as kept (OpenBook::ChapterTitle) and the text around
    // the occurrence on one line.
    QString title;
    QString context;

    bool operator==(const BookHit &) const = default;
};

struct BookHits {
    // The first `most` occurrences in text order.
    QList<BookHit> listed;
    // Every occurrence.
    qsizetype found = 0;
};

// The occurrences of any of the forms (SearchForms) in the book's text, its
// chapters cut already, at most `most` of them listed.
BookHits FindInWholeBook(const OpenBook &book, const QStringList &forms, qsizetype most = kHitsPerBook);
