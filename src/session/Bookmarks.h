#pragma once
// Bookmarks: places in the open book the reader marks, kept in the book's
// record of the book store, so that they survive restarts and removed
// headings. The bookmarks window (书签) shows the list `listChanged` gives and
// reports picks and deletions.
#include <QObject>
#include <QStringList>

class ReadingSession;

class Bookmarks : public QObject {
    Q_OBJECT
public:
    explicit Bookmarks(ReadingSession &session);

    // "添加书签": marks the first visible line of the chapter shown (during a
    // preview, once the whole book is there).
    void Add();
    // The open book's bookmarks (label, chapter, date) in book order, told
    // through listChanged.
    void List();
    // A bookmark picked in the list: its chapter shown with the marked line
    // on top. One whose place lies beyond the text (the file shrank) goes to
    // its chapter by title, else to chapter 0.
    void OnPicked(int index);
    // Delete in the list: the bookmark is removed.
    void OnDeleted(int index);

Q_SIGNALS:
    void listChanged(const QStringList &lines, const QString &summary);

private:
    ReadingSession &session_;
};
