#pragma once
#include <QString>

struct OpenBook;
struct ShelfState;
class ListBox;
class NotifyLabel;

// Opens the book at that index of the book list into `book`, posting the
// loading progress to the label (标签_状态显示). Returns once the book has been
// read (and, through the notifications handled meanwhile, indexed and its
// first chapter shown) or once nothing could be opened. A call arriving while
// another book is loading wins: the running load stops at its next piece and
// the newest book is loaded instead; the call itself returns false at once.
// After loads, the book list highlights the book on screen. Returns whether a
// book was put on screen.
bool OpenBookAt(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel, int index);

// Reads the file in pieces, posting the percentage read to the label after
// each piece and letting pending events run, as far as the file reached when
// it was opened (or less if it shrank meanwhile). With the last piece the
// whole text, the encoding found and the file's name, size and time replace
// the book, just before the 100 is posted. Returns false, the book left as it
// was, when the load was stopped before the end.
bool LoadBookText(ShelfState &shelf, OpenBook &book, const QString &path, NotifyLabel &progressLabel);

// The window is closing: a running load stops at its next piece and nothing
// new starts.
void StopLoading(ShelfState &shelf);
