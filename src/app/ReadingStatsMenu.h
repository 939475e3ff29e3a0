#pragma once
// 阅读 → 阅读统计…: the window of the time read (ReadingStatsWindow), filled
// from the time counted so far and the books' records, in the page's colours.
class BookStore;
class QMenu;
class QWidget;
class ReadingTimeKeeping;

// Adds the item; the objects given outlive the menu.
void AddReadingStatsItem(QMenu *reading, ReadingTimeKeeping &timeKeeping, BookStore &store, QWidget *window);
