#pragma once
// The one question 编辑本章 asks: whether to leave an edit with changes
// unsaved. 继续编辑 is the default, so that a stray Enter loses nothing.
class QWidget;

// Whether the user chose 放弃; false also when the window went away while
// the question was open.
bool AskDiscardEdit(QWidget *window);
