#pragma once
// The book store of earlier versions, books.json, taken into books.db once.
#include <QSqlDatabase>
#include <QString>

// When the file at jsonPath is there (see BookRecordJson.h): puts its records
// into the store's database in one transaction, a record the database
// already has staying as it is (it is the newer one), then renames the file
// <jsonPath>.imported, so that it is not imported again. A file that does not
// read as a store is renamed <jsonPath>.bad instead. An older file of either
// name is replaced. Failures are logged; after a failed write the file stays,
// to be imported at the next start.
void ImportJsonStore(const QSqlDatabase &database, const QString &jsonPath);
