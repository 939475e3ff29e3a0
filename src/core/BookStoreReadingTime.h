#pragma once
// The time read in books.db: a table beside `books` (BookStoreTable.h), which
// files from before it gain when opened.
//
//     reading_time: book TEXT (the record key, BookKey.h), day TEXT
//     (yyyy-MM-dd, local), device TEXT (DeviceList.h), ms INTEGER,
//     characters INTEGER; one row per book, day and device
//
// A row is written whole and never shrinks: a write of a smaller copy (an
// older one from another computer) leaves the larger, so rows of any device
// can be written here as they come (ReadingTime.h).
#include "core/ReadingTime.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The statement that creates the table where it is missing.
QString CreateReadingTimeTableSql();

// Writes the row unless the stored one is larger; the error, or none.
QSqlError WriteReadingTime(const QSqlDatabase &database, const ReadingTimeRow &row);
// Every stored row; a row that does not read as one (a hand-edited file) is
// skipped, logged; a failed read (logged) gives none.
QList<ReadingTimeRow> ReadReadingTime(const QSqlDatabase &database);
