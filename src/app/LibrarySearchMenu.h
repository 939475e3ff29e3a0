#pragma once
// 文件 → 在书库中查找… (Ctrl+Shift+F): the window that searches every book of
// the book list for a term; a result picked opens its book at that place with
// what was found selected.
class QMenu;
class QWidget;
class ReadingSession;

void AddLibrarySearchItem(QMenu *file, ReadingSession &session, QWidget *mainWindow);
