#pragma once
// The window's views bound to the reader's models and objects: each view
// follows its model's signals and reports the user's acts to it. Writing a
// view from code (a selection, a text) raises none of the user's signals.
class EditBox;
class ListBox;
class NotifyLabel;
class ReadAloud;
class ReadingSession;
struct ReaderControls;

// The pane (编辑框_内容) shows the session's text and scrolls, selects and
// marks as asked; it tells the session every move of its first visible line.
// Its keys step through the chapters, paging past its text reads on; a key,
// a click or the wheel in it stops 自动滚动, as does hiding it, and a key,
// the wheel or the scroll bar stops 朗读.
void BindPane(EditBox &pane, ReadingSession &session);
// The sentence 朗读 reads is marked in the pane, and marked again when the
// pane sets its text anew; a key, the wheel or the scroll bar stops it.
void BindReadAloud(EditBox &pane, ReadAloud &aloud);
// The chapter list (列表框_章节) shows the session's chapters with the one
// shown selected; its selections and keys go to the session, and its menu
// holds "恢复删除的标题".
void BindChapterList(ListBox &chapterList, ReadingSession &session);
// The book list (列表框_文件) shows the shelf's books, filtered by the field
// above it and sorted as chosen, each with its progress after its name, with
// the one on screen highlighted, and the user's choice opens a book; the hidden path box
// (编辑框_路径) holds the book folder, the hidden status label (标签_状态显示)
// the loading progress (OnLoadProgress), and the pointer is busy while a book
// loads.
void BindBookList(const ReaderControls &controls, ReadingSession &session);
// The find and bookmark windows show the session's lists and report the
// user's terms, picks and deletions.
void BindListWindows(const ReaderControls &controls, ReadingSession &session);

// The status label's caption for a loading percentage: "已载入" and the
// percentage, or "载入完成" at exactly 100, which comes once the finished book
// is on screen.
void OnLoadProgress(NotifyLabel &statusLabel, int percentage);
