#pragma once
// The menu 阅读: find, bookmarks, and what the reader chose for the open book
// (its encoding, its chapter rule), each with a check mark on the choice in
// use for it; and 编辑本章.
class QMenu;
class ReadingSession;
struct ReaderControls;

// Fills the menu; its handlers reach the session and controls given, which
// outlive it.
void FillReadingMenu(QMenu *reading, ReadingSession &session, const ReaderControls &controls);
