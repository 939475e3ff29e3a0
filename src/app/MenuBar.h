#pragma once
// The window's menus, 文件, 设置, 阅读, 侧边栏 and 帮助, each item bound to its
// handler.
class Appearance;
class QMainWindow;
class ReadingSession;
class ReadingTimeKeeping;
struct ReaderControls;
struct ReaderServices;

void FillMenuBar(QMainWindow &window, ReaderServices &services, ReadingSession &session, Appearance &appearance,
                 ReadingTimeKeeping &timeKeeping, const ReaderControls &controls);
