#pragma once
// The window's menus, 文件, 设置, 阅读, 朗读, 侧边栏, 视图 and 帮助, each item
// bound to its handler.
class Appearance;
class QMainWindow;
class ReadingSession;
class ReadingTimeKeeping;
class WindowModes;
struct ReaderControls;
struct ReaderServices;

void FillMenuBar(QMainWindow &window, ReaderServices &services, ReadingSession &session, Appearance &appearance,
                 ReadingTimeKeeping &timeKeeping, WindowModes &modes, const ReaderControls &controls);
