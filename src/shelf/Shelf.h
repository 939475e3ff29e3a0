#pragma once
// The book shelf: the book folder, its books in the book list model, and
// opening them through the loader. The book list's highlight follows the
// shelf's highlighted row: the book being opened, and once the loader has
// handed it over (or failed), the book on screen, whatever was clicked
// meanwhile.
#include "shelf/BookListModel.h"
#include "shelf/BookLoader.h"
#include "shelf/LibraryWatch.h"
#include "shelf/ShownBooks.h"

#include <QObject>
#include <QString>
#include <functional>

class Shelf : public QObject {
    Q_OBJECT
public:
    explicit Shelf(QObject *parent = nullptr);

    // Ends with the platform's separator once listed; empty when none.
    const QString &BookDirectory() const { return directory_; }
    BookListModel &Books() { return books_; }
    const BookListModel &Books() const { return books_; }
    // The books as the book list shows them: filtered and sorted. Rows of
    // the shelf (OpenRow, HighlightedRow, OpenBookAt) are rows of Books().
    ShownBooks &Shown() { return shown_; }
    // The book list's row of the book on screen; -1 when the list does not
    // hold it (none opened yet, or another folder listed since).
    int OpenRow() const { return openRow_; }
    // The row the book list highlights: the book being opened, else the
    // book on screen (OpenRow); -1 for none.
    int HighlightedRow() const { return highlightedRow_; }

    // Appends the directory's books, its subfolders' included (see
    // core/BookLibrary.h), to the book list (never empties it). A non-empty
    // directory gets a trailing separator and becomes the book directory,
    // watched from then on: books that come, go or are renamed show in the
    // list without changing the open book, its row or the highlight. The
    // open book's row stays while it is open, though its file has gone. An
    // empty directory changes nothing.
    void FillBookList(QString directory);
    // Lists the folder afresh as the book folder, no book highlighted (as a
    // folder chosen in "打开文件" is). The open book stays on screen.
    void ListFolder(const QString &folder);
    // Empties the book list and stops watching, the book directory staying
    // as it is.
    void ClearBookList();

    // What the reader chose for a book of the folder, to open it with.
    void SetRequestMaker(std::function<BookRequest(const QString &folder, const QString &fileName)> maker);
    // Starts opening the book at that row of the book list; returns at once.
    // A name that is no regular ".txt" file of at most 2 GiB (in any letter
    // case), or a row that is none, opens nothing: the load running stops,
    // and the highlight goes back to the book on screen. Returns whether a
    // load began.
    bool OpenBookAt(int row);
    // The key of the record (core/BookKey.h) of the book at that row of the
    // book list; empty for a folder's row or a row that is none.
    QString RecordKeyAt(int row) const;
    // Starts opening the book file at `path` (an absolute book path, see
    // core/BookFolder.h) as a book of its folder: the folder is listed afresh as the book folder unless it is
    // listed already and holds the book. Refused as OpenBookAt refuses.
    bool OpenBookFile(const QString &path);
    // The open book's record changed (its place saved): its row tells it.
    void RefreshOpenRow() { books_.RefreshRow(openRow_); }
    // Reads the open book again, or cuts it anew, as the request says.
    void Reload(BookRequest request);
    // The window is closing: the running load stops (which counts as a failed
    // opening; the highlight stays on the book chosen) and nothing new starts.
    void StopLoading();
    bool IsLoading() const { return loader_.IsLoading(); }

Q_SIGNALS:
    // The book directory changed (FillBookList on a new one).
    void directoryChanged(const QString &directory);
    // The user chose a folder, or a book of another folder, and it is listed.
    void folderListed();
    // The highlight is to stand on another row (-1: none).
    void highlightChanged(int row);
    // A load began (true), or none runs any more (false).
    void loadingChanged(bool loading);
    // How far the load under way has read (see BookLoader::progress).
    void loadProgress(int percentage);
    // The chapter the book being opened remembers, read ahead of the book
    // (BookLoader::previewLoaded).
    void bookPreviewed(const OpenBook &preview);
    // A book was handed over; OpenRow() is already its row.
    void bookOpened(const OpenBook &book);
    // The newest opening failed, or was refused; the book on screen stays.
    void openFailed();

private:
    // Shows a fresh listing of the book directory in the list.
    void ShowListing(const BookLibrary &library);
    void OnBookLoaded(const OpenBook &book);
    void OnLoadEnded();
    void Highlight(int row);

    BookListModel books_;
    ShownBooks shown_;
    BookLoader loader_;
    LibraryWatch watch_;
    BookLibrary listing_;
    std::function<BookRequest(const QString &, const QString &)> requestFor_;
    QString directory_;
    int openRow_ = -1;
    int highlightedRow_ = -1;
};
