#include "app/MenuBar.h"

#include "app/HotKeyMenu.h"
#include "app/MenuItem.h"
#include "app/ReadAloudMenu.h"
#include "app/ReaderState.h"
#include "app/ReadingMenu.h"
#include "app/RecentBooksMenu.h"
#include "app/SyncMenu.h"
#include "app/ThemeMenu.h"
#include "session/ReadingSession.h"
#include "tools/Appearance.h"
#include "tools/ScriptConversion.h"
#include "tools/Sidebar.h"
#include "tools/WebLinks.h"
#include "ui/ReaderControls.h"

#include <QMainWindow>
#include <QMenuBar>

void FillMenuBar(QMainWindow &window, ReaderState &state, ReadingSession &session, const ReaderControls &c)
{
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("文件"));
    AddMenuItem(file, QStringLiteral("打开文件"), [&window, &session] { session.OnChooseBookFolder(&window); });
    FillRecentBooksMenu(file->addMenu(QStringLiteral("最近阅读")), session, *c.标签_提示);
    AddSyncNowItem(file, state.sync, session, *c.标签_提示);
    file->addSeparator();
    AddMenuItem(file, QStringLiteral("退出"), [&window] { window.close(); });

    QMenu *settings = window.menuBar()->addMenu(QStringLiteral("设置"));
    AddMenuItem(settings, QStringLiteral("字体"),
                [&c] { OnChooseFont(*c.通用对话框2, *c.编辑框_内容, *c.列表框_文件, *c.列表框_章节, c.mainWindow); });
    AddMenuItem(settings, QStringLiteral("背景颜色"), [&c] {
        OnChooseBackground(*c.选择颜色对话框1, *c.编辑框_内容, *c.列表框_文件, *c.列表框_章节, c.mainWindow);
    });
    AddColourItems(settings, c);
    AddMenuItem(settings, QStringLiteral("排版…"), [&c] { OnChooseTypography(*c.编辑框_内容, c.mainWindow); });
    settings->addSeparator();
    // With a book open the choice stays with it; without one the pane's
    // text (the guide) is converted once.
    AddMenuItem(settings, QStringLiteral("简体"), [&session, &c] {
        session.HasBook() ? session.OnChooseScript(ScriptConversion::ToSimplified) : OnToSimplified(*c.编辑框_内容);
    });
    AddMenuItem(settings, QStringLiteral("繁体"), [&session, &c] {
        session.HasBook() ? session.OnChooseScript(ScriptConversion::ToTraditional) : OnToTraditional(*c.编辑框_内容);
    });
    AddMenuItem(settings, QStringLiteral("原文"), [&session] { session.OnChooseScript(std::nullopt); });
    settings->addSeparator();
    AddHotKeyItem(settings, state, c);
    AddSyncItem(settings, state.sync, &window, *c.标签_提示);

    FillReadingMenu(window.menuBar()->addMenu(QStringLiteral("阅读")), session, c);
    FillReadAloudMenu(window.menuBar()->addMenu(QStringLiteral("朗读")), session.Aloud(), *c.标签_提示);

    QMenu *sidebar = window.menuBar()->addMenu(QStringLiteral("侧边栏"));
    AddMenuItem(sidebar, QStringLiteral("隐藏"), [&window, &c] { OnHideSidebar(window, *c.编辑框_内容); });
    AddMenuItem(sidebar, QStringLiteral("显示"), [&window, &c] { OnShowSidebar(window, *c.编辑框_内容); });

    QMenu *help = window.menuBar()->addMenu(QStringLiteral("帮助"));
    AddMenuItem(help, QStringLiteral("检查更新"), &OnCheckUpdate);
    AddMenuItem(help, QStringLiteral("官方网站"), &OnHomePage);
    AddMenuItem(help, QStringLiteral("网址导航"), &OnLinkDirectory);
}
