#pragma once
#include <QString>

struct OpenBook;
struct ShelfState;
class ListBox;
class NotifyLabel;

// Handler of a user's selection in the book list (列表框_文件).
void OnBookSelected(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel);

// Opens the book at that index of the book list into `book`, posting the
// loading progress to the label (标签_状态显示). Returns once the book has been
// read (and, through the notifications handled meanwhile, indexed and its
// first chapter shown) or once nothing could be opened. A call arriving while
// another book is loading wins: the running load stops at its next piece and
// the newest book is loaded instead.
void OpenBookAt(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel, int index);

// Appends the file's text to BookText in pieces, posting the percentage read
// to the label after each piece and letting pending events run; the encoding
// found goes into the book. Reads as far as the file reached when it was
// opened, or less if it shrank meanwhile. Returns false when the load was
// stopped before the end.
bool LoadBookText(ShelfState &shelf, OpenBook &book, const QString &path, NotifyLabel &progressLabel);

// The window is closing: a running load stops at its next piece and nothing
// new starts.
void StopLoading(ShelfState &shelf);
