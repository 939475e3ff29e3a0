#pragma once
// The book store the reader uses: the records of books.json in memory, with
// the file work on a thread of its own. Loading starts when the store is
// opened and every change is written there soon after, so that neither
// start-up nor reading waits on the disk or on reading and writing JSON for
// thousands of books. Records are looked up and changed on the caller's
// thread only.
#include "core/BookStoreFile.h"

#include <memory>
#include <thread>

class BookStore {
public:
    // A store with no file: it holds what is put into it, and writes nothing.
    BookStore();
    // Writes what is still pending, then ends the thread.
    ~BookStore();
    BookStore(const BookStore &) = delete;
    BookStore &operator=(const BookStore &) = delete;

    // Starts reading the file at path (see BookStoreFile::Load); every change
    // from now on is written to it. Once per store.
    void Open(const QString &path);
    // The book's record, nullopt when it has none; waits for the file to be
    // read first.
    std::optional<BookRecord> Find(const QString &name);
    // Replaces the book's record, to be written soon; returns whether that
    // changed anything (nothing is written when it did not).
    bool Put(const QString &name, const BookRecord &record);
    // Puts the book's record (a new one when it has none) as `change` leaves
    // it; returns whether that changed anything.
    template <typename Change>
    bool Update(const QString &name, Change change)
    {
        BookRecord record = Find(name).value_or(BookRecord{});
        change(record);
        return Put(name, record);
    }
    // Waits until every change put so far has been written, or has failed to
    // be (logged).
    void Flush();
    // Whether the file has been read, so that Find would not wait.
    bool Ready();
    qsizetype Count();

    // What the caller's thread and the store's own thread share.
    struct Shared;

private:
    void EnsureLoaded();

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    BookRecords records_;
    bool loaded_ = true;
};
