#pragma once
// The 净化规则 in books.db, and the books shown without them: two tables
// beside `books` (BookStoreTable.h), which files from before them gain when
// opened.
//
//     cleanup_rules: position INTEGER PRIMARY KEY (the order they are applied
//     in), name, pattern, replacement TEXT, is_regex INTEGER (0 or 1), scope
//     TEXT (empty: every book), target INTEGER (CleanupRule::Target),
//     enabled INTEGER (0 or 1)
//     shown_original: name TEXT PRIMARY KEY, a book's record key (BookKey.h),
//     one row per book shown as its file has it
//
// The rules are one list, written whole: the user edits them as a list, and
// there are tens of them, not thousands.
#include "core/CleanupRule.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

// The statements that create both tables where they are missing.
QStringList CreateRuleTablesSql();

// Replaces the stored rules with these, in one transaction; the error, or
// none.
QSqlError WriteCleanupRules(const QSqlDatabase &database, const QList<CleanupRule> &rules);
// The stored rules in their order. A row that does not read as a rule (a
// hand-edited file) is skipped, logged; a failed read (logged) gives none.
QList<CleanupRule> ReadCleanupRules(const QSqlDatabase &database);

// Notes whether the book under `key` is shown without its rules.
QSqlError WriteShowsOriginal(const QSqlDatabase &database, const QString &key, bool on);
// False also when that cannot be read (logged).
bool ReadShowsOriginal(const QSqlDatabase &database, const QString &key);
