#pragma once
// 查找 in the open book: the find window lists every occurrence of a term
// with its chapter (see reader/BookFind.h); picking one, or F3 and Shift+F3,
// shows it in its chapter, selected. The find window shows what
// resultsChanged gives and reports the term and the picks.
#include "reader/BookFind.h"

#include <QObject>

class ReadingSession;

class FindInBook : public QObject {
    Q_OBJECT
public:
    explicit FindInBook(ReadingSession &session);

    // A term entered in the find window: searches the whole book and lists
    // the occurrences. An empty term does nothing; during a preview the
    // search waits for the whole book.
    void OnSearch(const QString &term);
    // An occurrence picked in the list: its chapter shown, the occurrence
    // selected in the pane and brought into view.
    void OnHitPicked(int index);
    // "查找下一个" (direction 1) and "查找上一个" (-1): the occurrence after or
    // before the one last shown, across chapters, wrapping at the ends of the
    // book. Without a search yet, the find window is asked for.
    void OnFindAgain(int direction);
    // Another book has opened: the results belong to the one before.
    void Clear();

Q_SIGNALS:
    void resultsChanged(const QStringList &lines, const QString &summary);
    void windowAsked();

private:
    void ShowHit(qsizetype index);

    ReadingSession &session_;
    FindState find_;
};
