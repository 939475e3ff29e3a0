#pragma once
#include <QString>

struct ShelfState;
struct ReaderControls;

// Appends the directory's books to 列表框_文件 (never empties it). A non-empty
// directory gets a trailing separator, is copied into 编辑框_路径 and becomes
// BookDirectory; an empty one changes nothing.
void FillBookList(ShelfState &shelf, const ReaderControls &controls, QString &directory);

// "打开文件": asks for a new book directory and lists it afresh. The open book,
// its chapters and the pane stay as they are.
void OnOpenFolder(ShelfState &shelf, const ReaderControls &controls);
