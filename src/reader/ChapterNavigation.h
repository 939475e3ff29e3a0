#pragma once
#include <QString>

struct ReaderControls;

// Shows chapter n of the book in 编辑框_内容 and selects it in 列表框_章节.
// A number outside the list leaves the pane and the selection as they are.
void ShowChapter(const QString &bookText, const ReaderControls &controls, int n);

// Handlers of 列表框_章节's selection, of keys released in the pane (left and
// right arrows step through the chapters, wrapping at both ends) and of keys
// released in the chapter list (Delete removes the selected title).
void OnChapterSelected(const QString &bookText, const ReaderControls &controls);
void OnContentKeyUp(const QString &bookText, const ReaderControls &controls, int virtualKey, int modifiers);
void OnChapterListKeyUp(const ReaderControls &controls, int virtualKey, int modifiers);
