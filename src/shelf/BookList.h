#pragma once
#include <QString>

struct ShelfState;
class ListBox;
class QLineEdit;
class QWidget;

// Appends the directory's books to the book list (never empties it). A
// non-empty directory gets a trailing separator, is copied into the path box
// (编辑框_路径) and becomes BookDirectory; an empty one changes nothing.
void FillBookList(ShelfState &shelf, ListBox &bookList, QLineEdit &pathBox, QString &directory);

// "打开文件": asks for a new book directory (the chooser opens over `window`)
// and lists it afresh, selecting no book. The open book, its chapters and the
// pane stay as they are. Returns whether a directory was chosen.
bool OnOpenFolder(ShelfState &shelf, QWidget *window, ListBox &bookList, QLineEdit &pathBox);
