#pragma once
// 文件 → 排序, also the book list's own menu: the orders the book list can
// show its books in (按名称, 按最近阅读, 按文件大小, 按添加时间), the one shown
// checked. The choice is kept in config.ini (书库 → 排序) and the list follows
// it, from the remembered one on.
class ListBox;
class QMenu;
class ReadingSession;

void AddBookOrderMenu(QMenu *file, ListBox &bookList, ReadingSession &session);
