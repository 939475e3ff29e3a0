#pragma once
// Finding a term everywhere in a book: the term as typed together with its
// Simplified and Traditional forms, ASCII letters in either case.
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

struct SearchHit {
    qsizetype position = 0; // in the book text
    qsizetype length = 0;

    bool operator==(const SearchHit &) const = default;
};

// Longer terms find nothing: nobody looks for a paragraph, and matching one
// everywhere in a large book could take seconds.
inline constexpr qsizetype kLongestSearchTerm = 100;

// The forms of the term to look for: the term itself, then its Simplified
// and its Traditional form where they differ. None for a term that can find
// nothing: empty, longer than kLongestSearchTerm, or holding a line end.
QStringList SearchForms(const QString &term);

// Every occurrence of any of the forms in the text, in text order; where
// several forms match at one place the longest counts. After an occurrence
// the search goes on behind it, so occurrences never overlap. ASCII letters
// match in either case; every other character only itself.
QList<SearchHit> FindEverywhere(QStringView text, const QStringList &forms);
// Whether FindEverywhere would find anything: for short texts (names), read
// one at a time without FindEverywhere's set-up.
bool HoldsAnyForm(QStringView text, const QStringList &forms);

// About `around` characters on either side of the hit and the hit itself,
// line ends shown as blanks, for a list of hits.
QString HitContext(QStringView text, const SearchHit &hit, qsizetype around);
