#include "core/BookStoreConnection.h"

#include "core/BookStoreHighlights.h"
#include "core/BookStoreReadingTime.h"
#include "core/BookStoreRules.h"
#include "core/BookStoreTable.h"
#include "core/Log.h"

#include <QSqlError>

using Outcome = BookStoreConnection::Outcome;

namespace {

constexpr int kBusyTimeoutMs = 5000;

// SQLite's primary result codes that matter here.
constexpr int kSqliteError = 1;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

int ResultCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xFF;
}

Outcome Failure(const QString &what, const QSqlError &error)
{
    qCWarning(lcCore).noquote() << "book store:" << what << "failed:" << error.text();
    const int code = ResultCode(error);
    return code == kSqliteCorrupt || code == kSqliteNotADatabase ? Outcome::Damaged : Outcome::Failed;
}

// A new file gets the table and its version in one transaction; a second
// reader creating the same file at the same time waits, then finds the table.
Outcome CreateTable(QSqlQuery &query)
{
    const QString steps[] = {QStringLiteral("BEGIN IMMEDIATE"), CreateBooksTableSql(),
                             QStringLiteral("PRAGMA user_version = %1").arg(kBookStoreVersion),
                             QStringLiteral("COMMIT")};
    for (const QString &step : steps) {
        if (!query.exec(step)) {
            const QSqlError error = query.lastError();
            query.exec(QStringLiteral("ROLLBACK"));
            return Failure(QStringLiteral("creating the table"), error);
        }
    }
    return Outcome::Ready;
}

// The single number the statement answers.
Outcome ReadNumber(QSqlQuery &query, const QString &sql, int &number)
{
    if (!query.exec(sql) || !query.next())
        return Failure(sql, query.lastError());
    number = query.value(0).toInt();
    query.finish();
    return Outcome::Ready;
}

// Reads the layout before anything is written, so that a file that is not
// the store's is set aside as it was. A file without tables is a new one.
Outcome CheckLayout(const QSqlDatabase &database, bool &isNew)
{
    QSqlQuery query(database);
    int version = 0;
    int tables = 0;
    Outcome outcome = ReadNumber(query, QStringLiteral("PRAGMA user_version"), version);
    if (outcome == Outcome::Ready && version == 0)
        outcome = ReadNumber(query, QStringLiteral("SELECT count(*) FROM sqlite_master"), tables);
    if (outcome != Outcome::Ready)
        return outcome;
    isNew = version == 0 && tables == 0;
    if (version == kBookStoreVersion || isNew)
        return Outcome::Ready;
    const bool newer = version > kBookStoreVersion;
    qCWarning(lcCore) << "book store:" << database.databaseName() << "has the layout" << version
                      << (newer ? "of a newer version: left untouched" : "of no book store");
    return newer ? Outcome::Newer : Outcome::Damaged;
}

// Files written before the list of books read last, the conversion choice,
// the place by position, the cleanup rules, the time read and the highlights gain them.
Outcome AddLaterParts(QSqlQuery &query)
{
    if (!query.exec(CreateRecentTableSql()))
        return Failure(QStringLiteral("creating the list of books read last"), query.lastError());
    for (const QString &sql : CreateRuleTablesSql()) {
        if (!query.exec(sql))
            return Failure(QStringLiteral("creating the tables of the cleanup rules"), query.lastError());
    }
    if (!query.exec(CreateReadingTimeTableSql()))
        return Failure(QStringLiteral("creating the table of the time read"), query.lastError());
    if (!query.exec(CreateHighlightTableSql()))
        return Failure(QStringLiteral("creating the table of highlights"), query.lastError());
    for (const LaterColumn &column : kLaterColumns) {
        int count = 0;
        if (const Outcome read = ReadNumber(query, ColumnCountSql(column), count); read != Outcome::Ready)
            return read;
        if (count == 0 && !query.exec(AddColumnSql(column)))
            return Failure(QStringLiteral("adding the column %1").arg(QLatin1StringView(column.name)),
                           query.lastError());
    }
    return Outcome::Ready;
}

// The encoding counts only for a file not yet created; WAL is kept by the
// file, the rest holds for this connection.
Outcome PrepareFile(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    bool isNew = false;
    const QString encoding = QStringLiteral("PRAGMA encoding = 'UTF-16le'");
    if (!query.exec(encoding))
        return Failure(encoding, query.lastError());
    if (const Outcome layout = CheckLayout(database, isNew); layout != Outcome::Ready)
        return layout;
    for (const char *pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL"}) {
        if (!query.exec(QLatin1StringView(pragma)))
            return Failure(QLatin1StringView(pragma), query.lastError());
    }
    if (isNew) {
        if (const Outcome created = CreateTable(query); created != Outcome::Ready)
            return created;
    }
    return AddLaterParts(query);
}

} // namespace

BookStoreConnection::BookStoreConnection(const QString &path)
    : name_(QStringLiteral("folivar.books.%1").arg(quintptr(this), 0, 16))
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    database.setDatabaseName(path);
    if (!database.open()) {
        outcome_ = Failure(QStringLiteral("opening ") + path, database.lastError());
        return;
    }
    outcome_ = PrepareFile(database);
    if (outcome_ == Outcome::Ready)
        outcome_ = Prepare(database);
}

BookStoreConnection::~BookStoreConnection()
{
    // Qt wants no statement left on a connection it removes.
    statements_.reset();
    QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase BookStoreConnection::Database() const
{
    return QSqlDatabase::database(name_, false);
}

// A statement that does not prepare for want of its table or a column
// (SQLITE_ERROR) means a file laid out otherwise.
Outcome BookStoreConnection::Prepare(const QSqlDatabase &database)
{
    Statements statements{QSqlQuery(database), QSqlQuery(database), QSqlQuery(database)};
    const std::pair<QSqlQuery *, QString> sql[] = {{&statements.finder, FindRecordSql()},
                                                   {&statements.writer, InsertRecordSql(QLatin1StringView("REPLACE"))},
                                                   {&statements.counter, QStringLiteral("SELECT count(*) FROM books")}};
    for (const auto &[query, text] : sql) {
        query->setForwardOnly(true);
        if (!query->prepare(text)) {
            const Outcome outcome = Failure(QStringLiteral("preparing the statements"), query->lastError());
            return ResultCode(query->lastError()) == kSqliteError ? Outcome::Damaged : outcome;
        }
    }
    statements_ = std::move(statements);
    return Outcome::Ready;
}
