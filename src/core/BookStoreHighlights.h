#pragma once
// The highlights and notes in books.db: a table beside `books`
// (BookStoreTable.h), which files from before it gain when opened.
//
//     highlights: book TEXT (a book's record key, BookKey.h), start, end
//     INTEGER (the stretch of the book's own text), text TEXT (what it
//     covered), colour INTEGER (HighlightColour), note TEXT, created,
//     changed, deleted INTEGER (milliseconds since 1970; 0: not changed since
//     made, not deleted)
//
// A book's highlights are one list, written whole: the reader changes one at
// a time among tens or hundreds.
#include "core/Highlight.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The statement that creates the table where it is missing.
QString CreateHighlightTableSql();

// Replaces the highlights of the book under `key` with these, in one
// transaction; the error, or none.
QSqlError WriteHighlights(const QSqlDatabase &database, const QString &key, const QList<Highlight> &highlights);
// The highlights of the book under `key` in book order (the older first
// where two start together), the deleted ones among them. A row that does
// not read as one (a hand-edited file) is skipped, logged; a failed read
// (logged) gives none.
QList<Highlight> ReadHighlights(const QSqlDatabase &database, const QString &key);
