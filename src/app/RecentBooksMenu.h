#pragma once
// 文件 → 最近阅读: the books read last across folders, newest first, each
// with its folder, as the book store keeps them; a book whose file is gone is
// listed disabled. Choosing one opens it as a path on the command line does.
class MessageStrip;
class QMenu;
class ReadingSession;

// Fills the menu afresh each time it is about to show.
void FillRecentBooksMenu(QMenu *recent, ReadingSession &session, MessageStrip &strip);
