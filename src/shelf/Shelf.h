#pragma once
// The book shelf: the book folder, its books in the book list (列表框_文件)
// and opening them through the loader. The list's highlight is the book on
// screen once the loader has handed it over, whatever was clicked meanwhile.
#include "shelf/BookLoader.h"
#include "ui/BusyCursor.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class ListBox;
class NotifyLabel;
class QLineEdit;
class QWidget;

class Shelf : public QObject {
    Q_OBJECT
public:
    Shelf(ListBox &bookList, QLineEdit &pathBox, NotifyLabel &progressLabel, QObject *parent = nullptr);

    // Ends with the platform's separator once listed; empty when none.
    const QString &BookDirectory() const { return directory_; }
    // Appends the directory's books to the book list (never empties it). A
    // non-empty directory gets a trailing separator, is copied into the path
    // box (编辑框_路径) and becomes the book directory; an empty one changes
    // nothing.
    void FillBookList(QString directory);
    // "打开文件": asks for a new book directory (the chooser opens over
    // `window`) and lists it afresh, selecting no book. The open book, its
    // chapters and the pane stay as they are. Returns whether one was chosen.
    bool OnOpenFolder(QWidget *window);
    // Lists the folder afresh as the book folder, as a folder chosen in
    // "打开文件" is, selecting no book.
    void ListFolder(const QString &folder);

    // What the reader chose for a book of the folder, to open it with.
    void SetRequestMaker(std::function<BookRequest(const QString &folder, const QString &fileName)> maker);
    // Starts opening the book at that index of the book list; returns at once.
    // A name that is no regular ".txt" file of at most 2 GiB (in any letter
    // case), or an index that names no item, opens nothing: the load running
    // stops, and the highlight goes back to the book on screen. Returns
    // whether a load began.
    bool OpenBookAt(int index);
    // Starts opening the book file at `path` (an absolute path) as a book of
    // its folder: the folder is listed afresh as the book folder unless it is
    // listed already and holds the book. Refused as OpenBookAt refuses.
    bool OpenBookFile(const QString &path);
    // Reads the open book again, or cuts it anew, as the request says.
    void Reload(BookRequest request);
    // The window is closing: the running load stops (which counts as a failed
    // opening) and nothing new starts.
    void StopLoading();
    bool IsLoading() const { return loader_.IsLoading(); }

Q_SIGNALS:
    // The user chose a folder, or a book of another folder, and it is listed.
    void folderListed();
    // A book was handed over; the book list already highlights it.
    void bookOpened(const OpenBook &book);
    // The newest opening failed, or was refused; the book on screen stays.
    void openFailed();

private:
    void OnBookLoaded(const OpenBook &book);
    void OnLoadEnded();
    int IndexOf(const OpenBook &book) const;
    // The book list's row of that file name, -1 when it lists none.
    int RowOf(const QString &fileName) const;

    ListBox &bookList_;
    QLineEdit &pathBox_;
    BookLoader loader_;
    std::function<BookRequest(const QString &, const QString &)> requestFor_;
    QString directory_;
    // Index of the open book in the book list; -1 when the list does not
    // hold it (none opened yet, or another folder listed since).
    int openBookIndex_ = -1;
    std::optional<BusyCursor> busy_;
};
