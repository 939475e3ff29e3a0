#pragma once
// Bookmarks: places in a book the reader marks, kept in the book's record of
// the book store, so that they survive restarts and removed headings.
class ListWindow;
class ReadingSession;

// "添加书签": marks the first visible line of the chapter shown.
void OnAddBookmark(ReadingSession &session, ListWindow &bookmarksWindow);
// "书签…": lists the open book's bookmarks (label, chapter, date) in book order.
void OnShowBookmarks(ReadingSession &session, ListWindow &bookmarksWindow);
// A bookmark picked in the list: its chapter shown with the marked line on
// top. One whose place lies beyond the text (the file shrank) goes to its
// chapter by title, else to chapter 0.
void OnBookmarkPicked(ReadingSession &session, int index);
// Delete in the list: the bookmark is removed.
void OnBookmarkDeleted(ReadingSession &session, ListWindow &bookmarksWindow, int index);
