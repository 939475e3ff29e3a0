#pragma once
// The book store: what the reader remembers of every book read, in books.db
// beside config.ini (SQLite through Qt Sql; layout in BookStoreTable.h). Each
// change is written at once as one small transaction of one row, so a reader
// killed at any moment keeps every change made before, and two readers
// sharing the folder keep each other's records (the last write of one book
// wins). A lookup by name and a write take well under a millisecond (WAL,
// synchronous=NORMAL), so the store works on the caller's thread and has no
// thread of its own. Used on one thread, the one that made it.
#include "core/BookRecord.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class BookStoreConnection;

class BookStore {
public:
    // A store with no file: it holds what is put into it, in memory, and
    // writes nothing. The first store of a process also starts loading the
    // SQLite driver in Qt's thread pool, so that an Open soon after finds it
    // loaded.
    BookStore();
    ~BookStore();
    BookStore(const BookStore &) = delete;
    BookStore &operator=(const BookStore &) = delete;

    // Makes the books.db at path, created (with its folder) when missing, the
    // store; what was put before is dropped. A books.json beside it (the
    // store of earlier versions) is imported once and renamed
    // books.json.imported (see ImportJsonStore). A file that is not a usable
    // database is renamed <path>.bad, with its -wal and -shm, and an empty
    // store created in its place. A file of a newer version is left untouched
    // and, like any other failure (a read-only file or folder, a full disk,
    // no SQLite driver), leaves the store in memory, as BookStore() has it.
    // Everything is logged; nothing is fatal.
    void Open(const QString &path);
    // The book's record; nullopt when it has none, or when it cannot be read
    // (logged).
    std::optional<BookRecord> Find(const QString &name) const;
    // Writes the book's record, unless it equals the stored one; returns
    // whether that changed anything (false also when the write failed:
    // logged, the stored record stays as it was). Once MarkChangesAs has
    // named the device, the parts the user changed are marked as changed
    // now on it (NoteUserChanges) and the listener hears of the write; with
    // `placeMoved` false the place, whatever it holds, is no change of the
    // user's (the same place measured anew).
    bool Put(const QString &name, const BookRecord &record, bool placeMoved = true);
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

private:
    void KeepInMemory();
    bool Write(const QString &name, const BookRecord &record);
    // Whether the connection's statements can be run; makes the store's
    // connection in memory when it has none yet.
    bool Ready() const;

    // None until the first Open or the first use.
    mutable std::unique_ptr<BookStoreConnection> connection_;
    QString device_;
    std::function<void(const QString &name)> changed_;
};
