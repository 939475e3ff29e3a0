#pragma once
// 设置 → 同步…: the WebDAV folder, user, password and 启用 asked for in a
// dialog; the address and user go to config.ini, the password to the
// desktop's keyring, or, where there is none, is kept until the reader ends.
// 文件 → 立即同步 (F5): the open book and every change waiting synced now.
class BookSync;
class MessageStrip;
class QMenu;
class ReadingSession;
class QWidget;

void AddSyncItem(QMenu *settings, BookSync &sync, QWidget *window, MessageStrip &strip);
void AddSyncNowItem(QMenu *file, BookSync &sync, ReadingSession &session, MessageStrip &strip);
