#pragma once
// One connection of Qt Sql (SQLite) to a book store file, brought to the
// store's layout (BookStoreTable.h), with the statements the store runs
// prepared on it. Each object has a connection under a name of its own, so
// that several can be open at once, on one file or on several. Used on the
// thread that made it.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>

class BookStoreConnection {
public:
    enum class Outcome {
        Ready,
        // Not a database, damaged, or a database laid out otherwise.
        Damaged,
        // Laid out by a newer version of the reader: left untouched.
        Newer,
        // Anything else: no SQLite driver, a folder that takes no files, ...
        Failed,
    };

    // Opens the file at path, creating it when missing (":memory:" opens a
    // database in memory): WAL, synchronous=NORMAL, text kept as UTF-16, the
    // table and its version in a new file. Another process's write is waited
    // for, up to 5 s, instead of failing. Result() tells how that went; each
    // failure is logged.
    explicit BookStoreConnection(const QString &path);
    // Closes the file.
    ~BookStoreConnection();
    BookStoreConnection(const BookStoreConnection &) = delete;
    BookStoreConnection &operator=(const BookStoreConnection &) = delete;

    Outcome Result() const { return outcome_; }
    QSqlDatabase Database() const;
    // The prepared statements, when Ready: one record by name (FindRecordSql),
    // one record written over any under its name (InsertRecordSql), and the
    // number of records.
    QSqlQuery &Finder() { return statements_->finder; }
    QSqlQuery &Writer() { return statements_->writer; }
    QSqlQuery &Counter() { return statements_->counter; }

private:
    struct Statements {
        QSqlQuery finder;
        QSqlQuery writer;
        QSqlQuery counter;
    };

    Outcome Prepare(const QSqlDatabase &database);

    QString name_;
    Outcome outcome_ = Outcome::Failed;
    std::optional<Statements> statements_;
};
