#pragma once
struct OpenBook;
class EditBox;
class ListBox;

// Shows chapter n of the book in the pane (编辑框_内容) and selects it in the
// chapter list (列表框_章节). With no book text, or a number outside the
// index, the pane and the selection stay as they are.
void ShowChapter(const OpenBook &book, ListBox &chapterList, EditBox &pane, int n);

// Puts the book's index into the chapter list and shows chapter n, or
// chapter 0 when n names no chapter; an empty book empties the pane. Every
// time the list is rebuilt, it is rebuilt here.
void ShowIndex(const OpenBook &book, ListBox &chapterList, EditBox &pane, int n);

// Handlers of the chapter list's selection, of keys released in the pane
// (left and right arrows step through the chapters, wrapping at both ends)
// and of keys released in the chapter list (Delete removes the selected
// title and selects the chapter before, which now holds the removed one's
// text, without showing it again).
void OnChapterSelected(const OpenBook &book, ListBox &chapterList, EditBox &pane);
void OnContentKeyUp(const OpenBook &book, ListBox &chapterList, EditBox &pane, int virtualKey, int modifiers);
void OnChapterListKeyUp(OpenBook &book, ListBox &chapterList, int virtualKey, int modifiers);

// Handler of paging past the shown text in the pane: Space or Page Down at
// the end of a chapter (direction 1) shows the next chapter from its top;
// Page Up or Shift+Space at its top (-1) shows the previous one with its last
// page in view. Nothing wraps around the ends of the book.
void OnContentPagedPast(const OpenBook &book, ListBox &chapterList, EditBox &pane, int direction);

// "恢复删除的标题" in the chapter list's context menu: puts the book's removed
// titles back and shows again the chapter that starts where the shown one did.
void OnRestoreRemovedHeadings(OpenBook &book, ListBox &chapterList, EditBox &pane);
