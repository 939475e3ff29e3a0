#pragma once
// Searching every book of the library for a term: the books are read and
// searched on the pool's threads, each in the encoding and by the chapter
// rule its record holds, and each book's results go into the results model
// as soon as it is done. A newer search, or Stop, ends the one running: the
// books not started are dropped and the ones being read stop at their next
// piece. Nothing is indexed; each search reads the files afresh.
#include "shelf/LibraryHitsModel.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class BookStore;
struct BookRequest;

// A book to search: its folder (ending in a separator) and its kept name in
// it, which may hold subfolders.
struct LibraryBook {
    QString folder;
    QString fileName;
};

class LibrarySearch : public QObject {
    Q_OBJECT
public:
    // The store is asked for the books' records on this object's thread only.
    explicit LibrarySearch(BookStore &store, QObject *parent = nullptr);
    // Stops the search and waits for the books being read.
    ~LibrarySearch() override;

    LibraryHitsModel &Results() { return results_; }
    const LibraryHitsModel &Results() const { return results_; }

    // Empties the results and searches the books for the term, Simplified and
    // Traditional alike (SearchForms); a term that can find nothing searches
    // nothing.
    void Start(const QString &term, const QList<LibraryBook> &books);
    // Ends the search running; the results so far stay.
    void Stop();
    bool IsRunning() const { return watcher_ != nullptr; }
    // The line that tells how far the search is: books searched of all,
    // occurrences found, whether the list was cut, whether it was stopped.
    QString Summary() const;

Q_SIGNALS:
    // Another book was searched, or the search ended or stopped.
    void progressed();
    // The search ran through every book.
    void finished();

private:
    void OnBookSearched(int index);
    void OnFinished();
    void Drop();

    BookStore &store_;
    LibraryHitsModel results_;
    // The running search's watcher and the flag that stops its readers.
    QFutureWatcher<SearchedBook> *watcher_ = nullptr;
    std::shared_ptr<std::atomic<bool>> stopped_;
    // Searches that were ended but may still be reading a book.
    QList<QFuture<SearchedBook>> ending_;
    int searched_ = 0;
    int total_ = 0;
    bool wasStopped_ = false;
};

// Reads the book the request names (MakeBook on one thread) and looks for
// the forms in it; unreadable when it cannot be read or `cancelled` stopped it.
SearchedBook SearchBook(const BookRequest &request, const QStringList &forms, const std::function<bool()> &cancelled);
