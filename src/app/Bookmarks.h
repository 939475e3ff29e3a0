#pragma once
// Bookmarks: places in a book the reader marks, kept in the book's record of
// the book store, so that they survive restarts and removed headings.
struct ReaderState;
struct ReaderControls;

// "添加书签": marks the first visible line of the chapter shown.
void OnAddBookmark(ReaderState &state, const ReaderControls &controls);
// "书签…": lists the open book's bookmarks (label, chapter, date) in book order.
void OnShowBookmarks(ReaderState &state, const ReaderControls &controls);
// A bookmark picked in the list: its chapter shown with the marked line on
// top. One whose place lies beyond the text (the file shrank) goes to its
// chapter by title, else to chapter 0.
void OnBookmarkPicked(ReaderState &state, const ReaderControls &controls, int index);
// Delete in the list: the bookmark is removed.
void OnBookmarkDeleted(ReaderState &state, const ReaderControls &controls, int index);
