#pragma once
// The menu 视图: 简洁模式 (Ctrl+Shift+M), 置顶, 透明度 (100 % to 30 %, and
// 背景透明 for 简洁模式) and 鼠标移出时隐藏, each checked as the settings
// keep it. In 简洁模式 the pane's right-click menu holds 退出简洁模式, the
// same items, and the menus given (阅读, 朗读); the keys of every menu bar
// item work while the menu bar is away.
#include <QList>

class EditBox;
class Preferences;
class QMainWindow;
class QMenu;
class WindowModes;

void FillViewMenu(QMenu *view, WindowModes &modes, Preferences &preferences);
void GiveSimpleWindowItsMenu(QMainWindow &window, EditBox &pane, WindowModes &modes, QMenu *view,
                             const QList<QMenu *> &readingMenus);
