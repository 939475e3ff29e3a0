#include "app/MenuBar.h"

#include "app/BookOrderMenu.h"
#include "app/HotKeyMenu.h"
#include "app/LibrarySearchMenu.h"
#include "app/MenuItem.h"
#include "app/ReadAloudMenu.h"
#include "app/ReaderServices.h"
#include "app/ReadingMenu.h"
#include "app/ReadingStatsMenu.h"
#include "app/RecentBooksMenu.h"
#include "app/SyncMenu.h"
#include "app/ThemeMenu.h"
#include "app/ViewMenu.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "tools/Appearance.h"
#include "tools/Sidebar.h"
#include "tools/WebLinks.h"
#include "ui/FolderChooser.h"
#include "ui/ReaderControls.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>

namespace {

// "打开文件": the chooser opens where the books are, or in the home folder;
// the folder chosen is listed afresh, no book selected, and the book on
// screen stays.
void OnChooseBookFolder(QWidget &window, ReadingSession &session)
{
    const QString folder = session.BookShelf().BookDirectory();
    const QString start = QFileInfo(folder).isDir() ? QDir(folder).absolutePath() : QDir::homePath();
    const QString chosen = ChooseFolder(&window, QStringLiteral("选择目录"), start);
    if (!chosen.isEmpty())
        session.OnOpenFolder(chosen);
}

} // namespace

void FillMenuBar(QMainWindow &window, ReaderServices &services, ReadingSession &session, Appearance &appearance,
                 ReadingTimeKeeping &timeKeeping, WindowModes &modes, const ReaderControls &c)
{
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("文件"));
    AddMenuItem(file, QStringLiteral("打开文件"), [&window, &session] { OnChooseBookFolder(window, session); });
    FillRecentBooksMenu(file->addMenu(QStringLiteral("最近阅读")), session, *c.标签_提示);
    AddSyncNowItem(file, services.sync, session, *c.标签_提示);
    AddLibrarySearchItem(file, session, &window);
    AddBookOrderMenu(file, *c.列表框_文件, session);
    file->addSeparator();
    AddMenuItem(file, QStringLiteral("退出"), [&window] { window.close(); });

    QMenu *settings = window.menuBar()->addMenu(QStringLiteral("设置"));
    AddMenuItem(settings, QStringLiteral("字体"),
                [&appearance, &c] { appearance.OnChooseFont(*c.通用对话框2, c.mainWindow); });
    AddMenuItem(settings, QStringLiteral("背景颜色"),
                [&appearance, &c] { appearance.OnChooseBackground(*c.选择颜色对话框1, c.mainWindow); });
    AddColourItems(settings, appearance, c);
    AddMenuItem(settings, QStringLiteral("排版…"), [&appearance, &c] { appearance.OnChooseTypography(c.mainWindow); });
    settings->addSeparator();
    // With a book open the choice stays with it; without one the pane's
    // text (the guide) is converted once.
    AddMenuItem(settings, QStringLiteral("简体"),
                [&session] { session.OnChooseScript(ScriptConversion::ToSimplified); });
    AddMenuItem(settings, QStringLiteral("繁体"),
                [&session] { session.OnChooseScript(ScriptConversion::ToTraditional); });
    AddMenuItem(settings, QStringLiteral("原文"), [&session] { session.OnChooseScript(std::nullopt); });
    settings->addSeparator();
    AddHotKeyItem(settings, services.hotKey, c);
    AddSyncItem(settings, services.sync, &window, *c.标签_提示);

    QMenu *reading = window.menuBar()->addMenu(QStringLiteral("阅读"));
    FillReadingMenu(reading, session, c);
    reading->addSeparator();
    AddReadingStatsItem(reading, timeKeeping, services.store, &window);
    QMenu *aloud = window.menuBar()->addMenu(QStringLiteral("朗读"));
    FillReadAloudMenu(aloud, session.Aloud(), *c.标签_提示);

    QMenu *sidebar = window.menuBar()->addMenu(QStringLiteral("侧边栏"));
    AddMenuItem(sidebar, QStringLiteral("隐藏"), [&window, &c] { OnHideSidebar(window, *c.编辑框_内容); });
    AddMenuItem(sidebar, QStringLiteral("显示"), [&window, &c] { OnShowSidebar(window, *c.编辑框_内容); });

    QMenu *view = window.menuBar()->addMenu(QStringLiteral("视图"));
    FillViewMenu(view, modes, services.preferences);

    QMenu *help = window.menuBar()->addMenu(QStringLiteral("帮助"));
    AddMenuItem(help, QStringLiteral("检查更新"), &OnCheckUpdate);
    AddMenuItem(help, QStringLiteral("官方网站"), &OnHomePage);
    AddMenuItem(help, QStringLiteral("网址导航"), &OnLinkDirectory);
    GiveSimpleWindowItsMenu(window, *c.编辑框_内容, modes, view, {reading, aloud});
}
