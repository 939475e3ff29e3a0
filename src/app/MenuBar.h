#pragma once
// The window's menus, 文件, 设置, 阅读, 侧边栏 and 帮助, each item bound to its
// handler.
class QMainWindow;
class ReadingSession;
struct ReaderControls;
struct ReaderState;

void FillMenuBar(QMainWindow &window, ReaderState &state, ReadingSession &session, const ReaderControls &controls);
