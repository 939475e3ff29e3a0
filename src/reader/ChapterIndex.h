#pragma once
struct OpenBook;
class EditBox;
class ListBox;
class NotifyLabel;

// Handler of the loader's progress notifications on the status label
// (标签_状态显示): writes the caption and, at exactly 100, indexes the finished
// book, shows its titles in the chapter list (列表框_章节) and shows chapter 0
// in the pane (编辑框_内容); an empty book empties the pane.
void OnLoadProgress(OpenBook &book, NotifyLabel &statusLabel, ListBox &chapterList, EditBox &pane, int percentage,
                    int unused);

// Refills the chapter list with the book's titles, selecting none.
void FillChapterList(const OpenBook &book, ListBox &chapterList);
