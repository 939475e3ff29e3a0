#pragma once
// The layout of books.db: the table `books`, one row per book under its key
// (BookKey.h: its folder's path and file name; earlier versions wrote the
// file name alone, and such rows are still read); the table `recent`, the books read last by their whole path; and
// PRAGMA user_version telling which layout a file has.
//
//     name TEXT PRIMARY KEY, size, modified, chapter, chapter_title, line,
//     removed_headings, removed_under_rule, last_read, bookmarks, encoding,
//     chapter_rule, script, position, changes, progress, chapter_offset,
//     chapter_length, line_offset, place_encoding
//
// The numbers are INTEGER columns, the texts TEXT. Removed headings and
// bookmarks are JSON arrays in a TEXT column each, the record's changes a JSON
// object (see BookRecordJson.h): a
// list is read and written whole with its record and never searched, so a
// table of its own would only add joins, and JSON keeps it readable with the
// sqlite3 tool. A file holds its text as UTF-16, so that any QString, even a
// lone surrogate out of a damaged book, reads back as it was put.
#include "core/BookRecord.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

//     recent: path TEXT PRIMARY KEY, read INTEGER (a number that grows with
//     each book read)
//
// `recent`, the columns `script`, `position`, `changes`, `progress` and the
// four of the place in the file (FilePlace.h), and
// the tables of the cleanup rules (BookStoreRules.h) came later without a
// new version: a reader that knows none of them works on as before (its
// writes leave them empty), and a file without them gains them when opened.
inline constexpr int kBookStoreVersion = 1;

// A column a table gained after it was first made; the highlights' change
// and deletion times came after the highlights.
struct LaterColumn {
    const char *table;
    const char *name;
    const char *type;
};
inline constexpr LaterColumn kLaterColumns[] = {{"books", "script", "TEXT"},
                                                {"books", "position", "INTEGER"},
                                                {"books", "changes", "TEXT"},
                                                {"books", "progress", "INTEGER"},
                                                {"books", "chapter_offset", "INTEGER"},
                                                {"books", "chapter_length", "INTEGER"},
                                                {"books", "line_offset", "INTEGER"},
                                                {"books", "place_encoding", "TEXT"},
                                                {"highlights", "changed", "INTEGER NOT NULL DEFAULT 0"},
                                                {"highlights", "deleted", "INTEGER NOT NULL DEFAULT 0"}};

// Creates the table in a database that has none.
QString CreateBooksTableSql();
// Reads one book's record: the columns RecordFromRow takes, where the name is
// the one value bound.
QString FindRecordSql();
// Removes one book's record, its name the one value bound.
QString RemoveRecordSql();
// Writes one record, bound by BindRecord; `conflict` says what happens to a
// row under the same name: "REPLACE" or "IGNORE".
QString InsertRecordSql(QLatin1StringView conflict);

// Whether its table has the column (1 or 0); adding it.
QString ColumnCountSql(const LaterColumn &column);
QString AddColumnSql(const LaterColumn &column);
// The list of books read last: created where missing; one book noted as read
// now (its path bound, then the time in milliseconds); the list cut to the
// newest `count`; the paths, newest first, at most the number bound.
QString CreateRecentTableSql();
QString NoteRecentSql();
QString TrimRecentSql(int count);
QString RecentBooksSql();

void BindRecord(QSqlQuery &query, const QString &name, const BookRecord &record);
// A write that failed within a transaction: the transaction rolled back, the
// statement's error given back.
QSqlError RolledBack(QSqlDatabase database, const QSqlQuery &query);
// The record in the row the query stands on. Lists that do not read as such
// (a hand-edited file) come back empty, logged.
BookRecord RecordFromRow(const QSqlQuery &query);
