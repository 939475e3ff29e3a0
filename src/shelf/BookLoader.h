#pragma once
#include <QString>

struct ShelfState;
struct ReaderControls;
class NotifyLabel;

// Handler of a user's selection in 列表框_文件.
void OnBookSelected(ShelfState &shelf, const ReaderControls &controls);

// Opens the book at that index of 列表框_文件. Returns once the book has been
// read (and, through the notifications handled meanwhile, indexed and its
// first chapter shown) or once nothing could be opened. A call arriving while
// another book is loading wins: the running load stops at its next piece and
// the newest book is loaded instead.
void OpenBookAt(ShelfState &shelf, const ReaderControls &controls, int index);

// Appends the file's text to BookText in pieces, posting the percentage read
// to the label after each piece and letting pending events run. Reads as far
// as the file reached when it was opened, or less if it shrank meanwhile.
// Returns false when the load was stopped before the end.
bool LoadBookText(ShelfState &shelf, const QString &path, NotifyLabel *progressLabel);

// The window is closing: a running load stops at its next piece and nothing
// new starts.
void StopLoading(ShelfState &shelf);
