#pragma once
// The one writer of a book store file. Its writes run in the order given on
// a thread of their own (a pool of one thread) through a connection of their
// own, so that a file another program keeps locked stalls that thread for the
// busy timeout, never the caller's. Until a write has landed, the record or
// the book read that it writes is pending: the caller answers from here
// first. A write that fails stays pending and is tried again every few
// seconds, and once more when the writer goes, until it lands or the reader
// ends. Made and used on one thread.
#include "core/BookRecord.h"
#include "core/CleanupRule.h"
#include "core/Highlight.h"
#include "core/ReadingTime.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlError>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class BookStoreConnection;

class BookStoreWriter : public QObject {
    Q_OBJECT
public:
    // Writes to the store file at `path`, which the caller has opened and
    // laid out already.
    explicit BookStoreWriter(const QString &path, QObject *parent = nullptr);
    // Gives each pending write that failed one more try and waits for every
    // write queued.
    ~BookStoreWriter() override;

    void PutRecord(const QString &name, const BookRecord &record);
    // Removes the record kept under `name`; until that lands, the store
    // holds none there.
    void RemoveRecord(const QString &name);
    // The book at `path` read at `time` (milliseconds since 1970).
    void NoteRecentBook(const QString &path, qint64 time);
    // The whole list of cleanup rules, replacing the stored one.
    void PutCleanupRules(const QList<CleanupRule> &rules);
    // Whether the book under `key` is shown without its cleanup rules.
    void PutShowsOriginal(const QString &key, bool on);
    // A row of the time read, as a whole.
    void PutReadingTime(const ReadingTimeRow &row);
    // The whole list of highlights of the book under `key`.
    void PutHighlights(const QString &key, const QList<Highlight> &highlights);

    // The newest record given for the book and not yet landed.
    std::optional<BookRecord> PendingRecord(const QString &name) const;
    QStringList PendingNames() const { return records_.keys(); }
    bool IsBeingRemoved(const QString &name) const { return removed_.contains(name); }
    QStringList RemovedNames() const { return removed_.values(); }
    // The books read whose note has not landed yet, newest first.
    QStringList PendingRecentBooks() const;
    // The rules given last and not yet landed.
    const std::optional<QList<CleanupRule>> &PendingCleanupRules() const { return rules_; }
    std::optional<bool> PendingShowsOriginal(const QString &key) const;
    QList<ReadingTimeRow> PendingReadingTime() const { return times_.values(); }
    std::optional<QList<Highlight>> PendingHighlights(const QString &key) const;

Q_SIGNALS:
    // A write failed, in SQLite's words; it is tried again.
    void writeFailed(const QSqlError &error);
    // Every write given so far has landed.
    void allWritten();

private:
    using Work = std::function<QSqlError(BookStoreConnection &connection)>;
    struct Write {
        quint64 number = 0;
        bool failed = false;
    };

    void Queue(const QString &key, Work work);
    Work WorkFor(const QString &key) const;
    void Landed(const QString &key, quint64 number, const QSqlError &error);
    // What the landed write under `key` wrote is no longer pending.
    void DropPending(const QString &key);
    void RetryFailed();
    // On the pool's thread: the connection, opened again after a failure.
    BookStoreConnection *Connection();

    QString path_;
    QHash<QString, BookRecord> records_;
    QSet<QString> removed_;
    // Newest first.
    QList<std::pair<QString, qint64>> recent_;
    std::optional<QList<CleanupRule>> rules_;
    QHash<QString, bool> originals_;
    QHash<QString, ReadingTimeRow> times_;
    QHash<QString, QList<Highlight>> highlights_;
    // The last write queued for each record ("r" + name), record removed
    // ("d" + name), book read ("p" + path), book shown without its rules
    // or with them ("o" + key), row of the time read ("t" + book, day and
    // device), a book's highlights ("h" + key), and for the rules ("c").
    QHash<QString, Write> writes_;
    quint64 lastNumber_ = 0;
    bool failing_ = false;
    QTimer retry_;
    // Touched on the pool's thread only.
    std::unique_ptr<BookStoreConnection> connection_;
    QThreadPool pool_;
};
