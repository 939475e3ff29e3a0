#pragma once
// The book store: what the reader remembers of every book read, in books.db
// beside config.ini (SQLite through Qt Sql; layout in BookStoreTable.h). Each
// change is written as one small transaction of one row, within moments, so a
// reader killed at any moment keeps nearly every change made before, and two
// readers sharing the folder keep each other's records (the last write of one
// book wins). Lookups run on the caller's thread (WAL: another program's write
// never blocks them); writes run in order on a thread of their own
// (BookStoreWriter), since another program may hold the file locked for
// seconds. What was put and has not landed yet is answered from memory, so
// that callers see their own writes at once. A write that fails is kept and
// tried again until it lands or the store goes, and the user is told once
// through `problem`. Used on one thread, the one that made it.
#include "core/BookRecord.h"
#include "core/CleanupRule.h"
#include "core/Highlight.h"
#include "core/ReadingTime.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class BookStoreConnection;
class BookStoreWriter;
class QSqlError;

class BookStore : public QObject {
    Q_OBJECT
public:
    // A store with no file: it holds what is put into it, in memory, and
    // writes nothing. The first store of a process also starts loading the
    // SQLite driver in Qt's thread pool, so that an Open soon after finds it
    // loaded.
    explicit BookStore(QObject *parent = nullptr);
    // Waits for the writes under way, each failed one tried once more.
    ~BookStore() override;
    BookStore(const BookStore &) = delete;
    BookStore &operator=(const BookStore &) = delete;

    // Makes the books.db at path, created (with its folder) when missing, the
    // store; what was put before is dropped. A books.json beside it (the
    // store of earlier versions) is imported once and renamed
    // books.json.imported (see ImportJsonStore). A file that is not a usable
    // database is set aside as <path>.bad (then .bad.2 up to .bad.5, the
    // oldest replaced when all are taken), with its -wal and -shm, and an
    // empty store created in its place. A file of a newer version is left
    // untouched and, like any other failure (a read-only file or folder, a
    // full disk, no SQLite driver), leaves the store in memory, as BookStore()
    // has it. Everything is logged; a file set aside or a store kept in memory
    // is told through `problem` as well, once the event loop runs; nothing is
    // fatal.
    void Open(const QString &path);
    // The book's record, under its key (BookKey.h); nullopt when it has none,
    // or when it cannot be read (logged). A book without a record of its own
    // takes over the one earlier versions kept under its name alone, when it
    // is the book of that name in the folder SetNamedRecordsFolder names and,
    // as far as that record knows, of the same size: another book of the name
    // (in another folder, or one put in that folder since) starts afresh. The
    // record then moves to the book's key, once, as no change of the user's.
    std::optional<BookRecord> Find(const QString &name);
    // The folder whose books the records kept under a name alone belong to:
    // the book folder config.ini names. None (empty) at first.
    void SetNamedRecordsFolder(const QString &folder) { namedRecordsFolder_ = folder; }
    // Writes the book's record, unless it equals the stored one; returns
    // whether that changed anything (a write that fails later is kept and
    // tried again, see above). A record is cut to what a record may hold
    // first (WithinLimits; its positions are left, the book may have changed
    // since they were made). Once MarkChangesAs has
    // named the device, the parts the user changed are marked as changed
    // now on it (NoteUserChanges) and the listener hears of the write; a
    // place that differs from the stored one is marked as moved at
    // `placeMovedAt` (milliseconds since 1970), and without a time it is no
    // change of the user's (the same place measured anew).
    bool Put(const QString &name, const BookRecord &record, std::optional<qint64> placeMovedAt);
    // Put with a place that differs from the stored one moved now.
    bool Put(const QString &name, const BookRecord &record);
    // Writes the record as it is, as Put does, but as no change of the
    // user's: a record merged with another computer's copy, a place measured
    // anew. The listener does not hear of it.
    bool PutUnmarked(const QString &name, const BookRecord &record);
    // From now on Put marks the user's changes as made on `device` and calls
    // `changed` with the book's name after each such write.
    void MarkChangesAs(const QString &device, std::function<void(const QString &name)> changed);
    // Puts the book's record (a new one when it has none) as `change` leaves
    // it; returns whether that changed anything.
    template <typename Change>
    bool Update(const QString &name, Change change)
    {
        BookRecord record = Find(name).value_or(BookRecord{});
        change(record);
        return Put(name, record);
    }
    // Notes that the book file at `path` was read just now: it heads the
    // list of the books read last, across folders, which keeps the newest
    // kRecentBooks. A failure is logged.
    void NoteRecentBook(const QString &path);
    // The paths of the books read last, newest first, files that are gone
    // included; empty when that cannot be read (logged).
    QStringList RecentBooks() const;
    static constexpr int kRecentBooks = 10;
    // How many books have a record (0 when that cannot be read, logged).
    qsizetype Count() const;

    // The 净化规则, in the order they are applied. A stored rule that does
    // not read as one is skipped, logged; none when they cannot be read
    // (logged).
    QList<CleanupRule> CleanupRules() const;
    // Replaces the whole list.
    void PutCleanupRules(const QList<CleanupRule> &rules);
    // Whether the book under `key` (BookKey.h) is shown as its file has it,
    // without the rules; false for a book never set so.
    bool ShowsOriginal(const QString &key) const;
    void SetShowsOriginal(const QString &key, bool on);
    // The time read, every device's rows (ReadingTime.h); none when it
    // cannot be read (logged).
    QList<ReadingTimeRow> ReadingTime() const;
    // Writes the row, unless the stored one is larger.
    void PutReadingTime(const ReadingTimeRow &row);
    // The highlights of the book under `key` in book order (Highlight.h),
    // the deleted ones among them. A stored one that does not read as one is
    // skipped, logged; none when they cannot be read (logged).
    QList<Highlight> Highlights(const QString &key) const;
    // Replaces that book's whole list, as the user changed it: the listener
    // of MarkChangesAs hears of it.
    void PutHighlights(const QString &key, const QList<Highlight> &highlights);
    // The same, for a list merged with another computer's copy: no change of
    // the user's, the listener does not hear of it.
    void PutHighlightsUnmarked(const QString &key, const QList<Highlight> &highlights);

Q_SIGNALS:
    // Places or records cannot be kept (a read-only, locked or damaged
    // books.db), in a line for the user; once until writing works again.
    void problem(const QString &message);

private:
    // The record kept under `name`, pending writes first.
    std::optional<BookRecord> KeptRecord(const QString &name) const;
    // The record books.db holds, pending writes left aside.
    std::optional<BookRecord> StoredRecord(const QString &name) const;
    std::optional<BookRecord> TakeOverNamedRecord(const QString &key);
    void Remove(const QString &name);
    void KeepInMemory(const QString &why);
    bool Write(const QString &name, const BookRecord &record);
    void OnWriteFailed(const QSqlError &error);
    // Emits `problem` from the event loop, so that a listener connected
    // after Open hears it too.
    void Tell(const QString &message);
    // Whether the connection's statements can be run; makes the store's
    // connection in memory when it has none yet.
    bool Ready() const;

    // None until the first Open or the first use.
    mutable std::unique_ptr<BookStoreConnection> connection_;
    // None while the store has no file.
    std::unique_ptr<BookStoreWriter> writer_;
    bool toldWriteFailure_ = false;
    QString device_;
    QString namedRecordsFolder_;
    std::function<void(const QString &name)> changed_;
};
