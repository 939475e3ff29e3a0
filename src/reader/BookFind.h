#pragma once
// Finding a term everywhere in the open book: every occurrence, Simplified
// and Traditional alike, each listed with its chapter and the text around
// it, and stepping from one to the next.
#include "core/BookSearch.h"

#include <QStringList>

struct OpenBook;

// The last search, kept until another book opens.
struct FindState {
    QList<SearchHit> hits;
    // The hit last shown; -1 before any.
    qsizetype shown = -1;
};

// Occurrences listed in the find window; the rest are counted.
inline constexpr qsizetype kListedHits = 10000;

// Every occurrence of `term` in the book as shown (under its 净化规则), as a
// stretch of its own text; none for an empty term.
QList<SearchHit> FindInBookText(const OpenBook &book, const QString &term);
// The find window's lines for the first kListedHits hits: the chapter's
// title, then the text around the occurrence.
QStringList HitLines(const OpenBook &book, const QList<SearchHit> &hits);
// The line that sums them up: how many were found, and how many listed.
QString HitSummary(qsizetype found);
// The hit after (direction 1) or before (-1) the one last shown, wrapping
// at the ends of the book; the first or the last before any was shown.
// -1 without hits.
qsizetype NextHit(const FindState &find, int direction);
