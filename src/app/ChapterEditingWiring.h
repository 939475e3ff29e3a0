#pragma once
// 阅读 → 编辑本章 (F2), and the pane as the chapter's editor while an edit is
// open: Ctrl+S saves, Esc leaves (asking 放弃修改？ first when there are
// changes); while editing, those keys are the editor's, not the window's. The
// strip below the pane says that an edit is open and why a save was refused.
class QMenu;
class QWidget;
class ReadingSession;
struct ReaderControls;

// Adds the item to the menu and binds the pane and the strip to the
// session's editing; they outlive the menu.
void AddEditChapterItem(QMenu *reading, ReadingSession &session, const ReaderControls &controls);
// The window is about to close: whether it may, having asked 放弃修改？ when
// an edit with changes is open.
bool MayCloseWhileEditing(ReadingSession &session, QWidget *window);
