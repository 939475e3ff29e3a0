#include "app/Shutdown.h"
#include "core/BookKey.h"
#include "core/BookStore.h"
#include "core/CodePage.h"
#include "core/ReadingClock.h"
#include "shelf/BookListModel.h"
#include "shelf/Shelf.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "sync/DeviceList.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ListWindow.h"
#include "ui/MessageStrip.h"
#include "ui/NotifyLabel.h"
#include "ui/ReadingStatsWindow.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QMenu *SubMenu(QMenu *menu, const QString &text)
{
    for (QAction *item : menu->actions())
        if (item->text() == text)
            return item->menu();
    return nullptr;
}

QMenu *BarMenu(MainWindow &window, const QString &text)
{
    for (QAction *menu : window.menuBar()->actions())
        if (menu->text() == text)
            return menu->menu();
    return nullptr;
}

QAction *ItemOf(QMenu *menu, const QString &text)
{
    for (QAction *item : menu ? menu->actions() : QList<QAction *>())
        if (item->text() == text)
            return item;
    return nullptr;
}

// The checked item of 阅读 > 章节规则, as a screen reader finds it with the menu closed.
QString CheckedRule(MainWindow &window)
{
    QMenu *rules = nullptr;
    for (QAction *menu : window.menuBar()->actions())
        if (menu->text() == u"阅读"_s)
            rules = SubMenu(menu->menu(), u"章节规则"_s);
    if (!rules)
        return u"<no menu>"_s;
    QStringList checked;
    for (QAction *item : rules->actions())
        if (item->isChecked())
            checked << item->text();
    return checked.join(u'|');
}

// Drags `url` onto the window and, when `drop`, drops it there; returns
// whether the window took it.
bool Dragged(QWidget &window, const QUrl &url, bool drop)
{
    QMimeData data;
    data.setUrls({url});
    const QPoint centre = window.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted() || !drop)
        return enter.isAccepted();
    QDropEvent dropped(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropped);
    return dropped.isAccepted();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void window_hasCaptionIconAndDesignedGeometry()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        QCOMPARE(window.windowTitle(), QStringLiteral("Folivar"));
        QVERIFY(!window.windowIcon().isNull());
        const QImage icon(QStringLiteral(":/folivar/icon.png"));
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(icon.hasAlphaChannel());
        QCOMPARE(window.frameGeometry(), QRect(50, 50, 884, 560));
        QVERIFY(window.isVisible());
    }

    void screenshotAndIcon_followTheDevicePixelRatio()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        const qreal ratio = window.devicePixelRatio();
        const QPixmap shot = window.grab();
        QCOMPARE(shot.deviceIndependentSize().toSize(), window.size());
        QCOMPARE(shot.size(), window.size() * ratio);
        const QPixmap icon = window.windowIcon().pixmap(QSize(32, 32), ratio);
        QCOMPARE(icon.size(), QSize(32, 32) * ratio);
    }

    void controls_haveTheirNamesPlacesAndVisibility()
    {
        ReaderFixture reader;
        reader.Start();
        const ReaderControls &c = reader.Controls();
        struct Expected {
            QWidget *control;
            const char *name;
            QRect geometry;
            bool visible;
        };
        const Expected table[] = {
            {c.编辑框_内容, "编辑框_内容", {169, 0, 712, 504}, true},
            {c.标签_状态显示, "标签_状态显示", {184, 80, 120, 22}, false},
            {c.标签_热键反馈, "标签_热键反馈", {328, 136, 112, 24}, false},
            {c.编辑框_路径, "编辑框_路径", {168, 64, 80, 20}, false},
            {c.bookFilter, "编辑框_筛选", {1, 0, 165, 24}, true},
            {c.列表框_文件, "列表框_文件", {1, 24, 165, 248}, true},
            {c.列表框_章节, "列表框_章节", {1, 272, 165, 232}, true},
        };
        for (const Expected &e : table) {
            QCOMPARE(e.control->objectName(), QString::fromUtf8(e.name));
            QCOMPARE(e.control->geometry(), e.geometry);
            QCOMPARE(e.control->isVisible(), e.visible);
            QCOMPARE(e.control->parentWidget(), c.mainWindow->findChild<QWidget *>(QStringLiteral("client")));
        }
        QCOMPARE(c.标签_状态显示->Caption(), QStringLiteral("标签_状态显示"));
        QCOMPARE(c.标签_热键反馈->Caption(), QStringLiteral("标签_热键反馈"));
        QCOMPARE(c.编辑框_内容->TextColour(), 0);
        QCOMPARE(c.编辑框_内容->BackgroundColour(), 16777215);
        QVERIFY(c.编辑框_内容->isReadOnly());
        QCOMPARE(c.列表框_文件->Selection(), -1);
        QCOMPARE(c.列表框_章节->Count(), 0);
    }

    void controls_haveAccessibleNames_andTabVisitsListsThenPane()
    {
        ReaderFixture reader;
        reader.Start();
        const ReaderControls &c = reader.Controls();
        QCOMPARE(c.列表框_文件->accessibleName(), QStringLiteral("书籍"));
        QCOMPARE(c.列表框_章节->accessibleName(), QStringLiteral("章节"));
        QCOMPARE(c.编辑框_内容->accessibleName(), QStringLiteral("正文"));
        c.mainWindow->activateWindow();
        c.列表框_文件->setFocus();
        QList<QWidget *> visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        QCOMPARE(visited, (QList<QWidget *>{c.列表框_章节, c.编辑框_内容, c.bookFilter, c.列表框_文件}));
        QCOMPARE(c.bookFilter->accessibleName(), u"筛选书名"_s);
    }

    void f11_togglesFullScreen_andEscapeLeavesIt()
    {
        ReaderFixture reader;
        QWidget &window = reader.Start();
        const QSize normalSize = window.size();
        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_VERIFY(window.isFullScreen());
        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_VERIFY(!window.isFullScreen());
        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_VERIFY(window.isFullScreen());
        QTest::keyClick(&window, Qt::Key_Escape);
        QTRY_VERIFY(!window.isFullScreen());
        QTRY_COMPARE(window.size(), normalSize);

        // A platform that hands the window back smaller than it was (Qt on
        // Wayland at times does) has it put back to its size.
        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_VERIFY(window.isFullScreen());
        QTest::keyClick(&window, Qt::Key_Escape);
        window.resize(normalSize - QSize(6, 33));
        QTRY_VERIFY(!window.isFullScreen());
        QTRY_COMPARE(window.size(), normalSize);
    }

    void standardDialogs_speakChinese()
    {
        ReaderFixture reader;
        reader.Start();
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    }

    void pane_liesAboveTheListsAndOnlyTheChapterListShowsTheHand()
    {
        ReaderFixture reader;
        reader.Start();
        const ReaderControls &c = reader.Controls();
        const QObjectList order = c.编辑框_内容->parentWidget()->children();
        QVERIFY(order.indexOf(c.编辑框_内容) > order.indexOf(c.列表框_文件));
        QVERIFY(order.indexOf(c.编辑框_内容) > order.indexOf(c.列表框_章节));
        QCOMPARE(c.列表框_章节->viewport()->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(c.列表框_文件->viewport()->cursor().shape() != Qt::PointingHandCursor);
        QVERIFY(c.编辑框_内容->viewport()->cursor().shape() != Qt::PointingHandCursor);
    }

    void menuBar_holdsTheDesignedTreeAndTheReadingMenu()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        QStringList tree;
        const auto describe = [&tree](QMenu *menu, const QString &indent, auto &self) -> void {
            for (QAction *item : menu->actions()) {
                const QString keys = item->shortcut().toString();
                tree << indent + (item->isSeparator() ? QStringLiteral("-") : item->text())
                        + (keys.isEmpty() ? QString() : QLatin1Char(' ') + keys)
                        + (item->isCheckable() ? QStringLiteral(" (checkable)") : QString())
                        + (item->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
                QVERIFY(item->isVisible());
                if (item->menu())
                    self(item->menu(), indent + QStringLiteral("  "), self);
            }
        };
        for (QAction *menuAction : window.menuBar()->actions()) {
            tree << menuAction->text();
            describe(menuAction->menu(), QStringLiteral("  "), describe);
        }
        const QStringList expected = {
            u"文件"_s,
            u"  打开文件"_s,
            u"  最近阅读"_s,
            u"  立即同步 Ctrl+Shift+S"_s,
            u"  在书库中查找… Ctrl+Shift+F"_s,
            u"  排序"_s,
            u"    按名称 (checkable)"_s,
            u"    按最近阅读 (checkable)"_s,
            u"    按文件大小 (checkable)"_s,
            u"    按添加时间 (checkable)"_s,
            u"  -"_s,
            u"  退出"_s,
            u"设置"_s,
            u"  字体"_s,
            u"  背景颜色"_s,
            u"  文本颜色…"_s,
            u"  主题"_s,
            u"    白天"_s,
            u"    羊皮纸"_s,
            u"    护眼"_s,
            u"    夜间"_s,
            u"    -"_s,
            u"    自定义…"_s,
            u"  排版…"_s,
            u"  -"_s,
            u"  简体"_s,
            u"  繁体"_s,
            u"  原文"_s,
            u"  -"_s,
            u"  热键…"_s,
            u"  同步…"_s,
            u"阅读"_s,
            u"  查找… Ctrl+F"_s,
            u"  查找下一个 F3"_s,
            u"  查找上一个 Shift+F3"_s,
            u"  -"_s,
            u"  添加书签 Ctrl+D"_s,
            u"  书签… Ctrl+B"_s,
            u"  高亮 Ctrl+H"_s,
            u"  笔记… Ctrl+Shift+N"_s,
            u"  -"_s,
            u"  编码"_s,
            u"    自动检测 (checkable)"_s,
            u"    GB18030 (checkable)"_s,
            u"    UTF-8 (checkable)"_s,
            u"    UTF-16 LE (checkable)"_s,
            u"    UTF-16 BE (checkable)"_s,
            u"    Big5 (checkable)"_s,
            u"  章节规则"_s,
            u"    默认 (checkable)"_s,
            u"    严格（仅独立标题行） (checkable)"_s,
            u"    自定义… (checkable)"_s,
            u"  净化规则… Ctrl+R"_s,
            u"  显示原文 (checkable)"_s,
            u"  -"_s,
            u"  跳转到章节… Ctrl+G"_s,
            u"  返回 Alt+Left (disabled)"_s,
            u"  前进 Alt+Right (disabled)"_s,
            u"  -"_s,
            u"  自动滚动 Ctrl+Shift+A (checkable)"_s,
            u"  滚动加快 Ctrl+Shift+Up"_s,
            u"  滚动减慢 Ctrl+Shift+Down"_s,
            u"  -"_s,
            u"  编辑本章 F2"_s,
            u"  -"_s,
            u"  阅读统计…"_s,
            u"朗读"_s,
            u"  开始朗读 F5"_s,
            u"  暂停 / 继续\tF5 (disabled)"_s,
            u"  停止\tEsc (disabled)"_s,
            u"  -"_s,
            u"  语速"_s,
            u"    加快"_s,
            u"    减慢"_s,
            u"  声音"_s,
            u"  定时停止"_s,
            u"    15 分钟 (checkable)"_s,
            u"    30 分钟 (checkable)"_s,
            u"    60 分钟 (checkable)"_s,
            u"    本章结束 (checkable)"_s,
            u"    关闭 (checkable)"_s,
            u"侧边栏"_s,
            u"  隐藏"_s,
            u"  显示"_s,
            u"视图"_s,
            u"  简洁模式 Ctrl+Shift+M (checkable)"_s,
            u"  置顶 (checkable)"_s,
            u"  透明度"_s,
            u"    100 % (checkable)"_s,
            u"    90 % (checkable)"_s,
            u"    80 % (checkable)"_s,
            u"    70 % (checkable)"_s,
            u"    50 % (checkable)"_s,
            u"    30 % (checkable)"_s,
            u"    -"_s,
            u"    背景透明 (checkable)"_s,
            u"  鼠标移出时隐藏 (checkable)"_s,
            u"帮助"_s,
            u"  检查更新"_s,
            u"  官方网站"_s,
            u"  网址导航"_s,
        };
        QCOMPARE(tree, expected);
    }

    // The check marks of 阅读 > 章节规则 as the menu opens: the open book's rule,
    // across a change of books and a restart.
    void chapterRuleMarks_showTheOpenBooksRule()
    {
        ReaderFixture reader;
        const QByteArray book = EncodeCodePage(u"书\r\n第一章 甲\r\n正文\r\n"_s);
        reader.AddBook(u"a.txt"_s, book);
        reader.AddBook(u"b.txt"_s, book);
        reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=1"_s});
        MainWindow &window = reader.Start();
        QCOMPARE(CheckedRule(window), u"默认"_s);
        reader.OpenBookAt(0);
        reader.Session().Store().Update(BookKey(reader.BookFolder(), u"a.txt"_s),
                                        [](BookRecord &record) { record.chapterRule = u"strict"_s; });
        reader.OpenBookAt(1);
        QCOMPARE(CheckedRule(window), u"默认"_s);
        reader.OpenBookAt(0);
        QCOMPARE(CheckedRule(window), u"严格（仅独立标题行）"_s);
        reader.OpenBookAt(1);
        QCOMPARE(CheckedRule(window), u"默认"_s);
        reader.OpenBookAt(0);
        reader.Close();
        MainWindow &again = reader.Start();
        QCOMPARE(CheckedRule(again), u"严格（仅独立标题行）"_s);
    }

    void drop_opensABookOrListsAFolder_andRefusesAnythingElse()
    {
        ReaderFixture reader;
        const QByteArray book = EncodeCodePage(u"书\r\n第一章 甲\r\n正文\r\n"_s);
        reader.AddBook(u"a.txt"_s, book);
        QTemporaryDir elsewhere;
        WriteFile(elsewhere.filePath(u"新 书.txt"_s), book);
        WriteFile(elsewhere.filePath(u"图.png"_s), "png");
        MainWindow &window = reader.Start();
        for (const QUrl &url : {QUrl::fromLocalFile(elsewhere.filePath(u"图.png"_s)),
                                QUrl::fromLocalFile(elsewhere.filePath(u"没有.txt"_s)), QUrl(u"https://a.cn/b.txt"_s)})
            QVERIFY2(!Dragged(window, url, false), qPrintable(url.toString()));
        ReaderFixture::LoadWatch watch(reader);
        QVERIFY(Dragged(window, QUrl::fromLocalFile(elsewhere.filePath(u"新 书.txt"_s)), true));
        watch.Wait();
        QCOMPARE(reader.Session().Book().fileName, u"新 书.txt"_s);
        QCOMPARE(reader.Controls().列表框_文件->ItemText(0), u"新 书.txt"_s);
        QVERIFY(Dragged(window, QUrl::fromLocalFile(reader.BookFolder()), true));
        QCOMPARE(reader.Session().BookShelf().BookDirectory(), reader.BookFolder() + u'/');
        QCOMPARE(reader.Controls().列表框_文件->Count(), 1);
        QCOMPARE(reader.Controls().列表框_文件->ItemText(0), u"a.txt"_s);
    }

    // Chapters as the reader counts them: neither the head item nor 目录 is
    // one. 第二章 starts 71 characters into the 211 of the book. The time
    // left is told at 500 characters a minute while nothing was read.
    void progress_followsTheChapterShown_andReturnsAfterAMessage()
    {
        QString contents = u"书\r\n目录\r\n"_s;
        QString chapters;
        for (const QString &number : {u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s}) {
            contents += u"第%1章\r\n"_s.arg(number);
            chapters += u"第%1章\r\n　　这一章的正文比目录后面的一行更长，讲的是山城的旧事。\r\n"_s.arg(number);
        }
        ReaderFixture reader;
        reader.AddBook(u"a.txt"_s, EncodeCodePage(contents + u"正文\r\n"_s + chapters));
        reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s});
        reader.Start();
        const MessageStrip &strip = *reader.Controls().标签_提示;
        QTRY_COMPARE(strip.text(), u"共 5 章    0.0%    本章约剩 1 分钟"_s);
        reader.ShowChapter(3);
        QTRY_COMPARE(strip.text(), u"第 2 / 5 章    33.6%    本章约剩 1 分钟"_s);
        reader.Controls().标签_提示->ShowMessage(u"找不到文件：x.txt"_s, 50);
        QCOMPARE(strip.text(), u"找不到文件：x.txt"_s);
        QTRY_COMPARE(strip.text(), u"第 2 / 5 章    33.6%    本章约剩 1 分钟"_s);
        QCOMPARE(strip.accessibleName(), u"阅读进度"_s);
        QCOMPARE(strip.accessibleDescription(), strip.text());
        QCOMPARE(strip.toolTip(), u"全书约剩 1 分钟"_s);
    }

    // Keys in the pane are reading: once the pane is hidden the time is in
    // the store, under the book, today and this computer; 阅读统计… lists
    // the book and how far it is read.
    void readingTime_countsKeysInThePane_andShowsInTheStatistics()
    {
        ReaderFixture reader;
        reader.AddBook(u"a.txt"_s, EncodeCodePage(u"第一章 甲\r\n天亮了。\r\n第二章 乙\r\n到了。\r\n"_s));
        reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s});
        MainWindow &window = reader.Start();
        QTRY_VERIFY2(reader.Controls().标签_提示->text().startsWith(u"共 2 章"_s),
                     qPrintable(reader.Controls().标签_提示->text()));
        EditBox &pane = *reader.Controls().编辑框_内容;
        QTest::keyClick(&pane, Qt::Key_Down);
        const qint64 pressed = QDateTime::currentMSecsSinceEpoch();
        QTRY_VERIFY(QDateTime::currentMSecsSinceEpoch() > pressed);
        QTest::keyClick(&pane, Qt::Key_Down);
        window.hide();
        const QList<ReadingTimeRow> rows = reader.Services().store.ReadingTime();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].book, reader.Session().Book().RecordKey());
        QCOMPARE(rows[0].day, QDate::currentDate());
        QCOMPARE(rows[0].device, DeviceIdFor(reader.SettingsPath()));
        QVERIFY(rows[0].ms > 0 && rows[0].ms <= ReadingClock::kLongestPauseMs);
        // Auto-scroll ticking on behind the hidden or the minimised window is
        // no reading; hiding the window writes what was counted.
        AutoScroll &scroll = reader.Session().Scrolling();
        for (const bool minimised : {false, true}) {
            if (minimised)
                window.showMinimized();
            for (int run = 0; run < 2; ++run) {
                scroll.Toggle();
                const qint64 started = QDateTime::currentMSecsSinceEpoch();
                QTRY_VERIFY(QDateTime::currentMSecsSinceEpoch() > started);
                scroll.Stop();
            }
            window.showNormal();
            window.hide();
            QCOMPARE(reader.Services().store.ReadingTime(), rows);
        }
        window.show();
        QMenu *reading = nullptr;
        for (QAction *item : window.menuBar()->actions())
            if (item->text() == u"阅读"_s)
                reading = item->menu();
        QVERIFY(reading);
        reading->actions().last()->trigger();
        auto *stats = window.findChild<ReadingStatsWindow *>();
        QVERIFY(stats && stats->isVisible());
        const QListWidget *books = stats->findChild<QListWidget *>();
        QCOMPARE(books->count(), 1);
        QVERIFY2(books->item(0)->text().startsWith(u"a.txt    "_s), qPrintable(books->item(0)->text()));
        QVERIFY2(books->item(0)->text().contains(u"    0.0 %    "_s), qPrintable(books->item(0)->text()));
    }

    // Scrolling on its own runs into the next chapter, stops on a key, and at
    // the book's end by itself; the speed keys change the speed in steps.
    void autoScroll_crossesIntoTheNextChapter_andStops()
    {
        ReaderFixture reader;
        const QString prose = u"夜色里，河水一路向东流去，岸边的灯一盏一盏亮起来。\r\n"_s.repeated(30);
        reader.AddBook(u"a.txt"_s, EncodeCodePage(u"第一章 甲\r\n"_s + prose + u"第二章 乙\r\n"_s + prose));
        reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s, u"Config/章=1"_s});
        reader.Start();
        AutoScroll &scroll = reader.Session().Scrolling();
        EditBox &pane = *reader.Controls().编辑框_内容;
        QSignalSpy running(&scroll, &AutoScroll::runningChanged);
        scroll.SetSpeed(AutoScroll::kMostSpeed);
        scroll.Toggle();
        QTRY_VERIFY(pane.FirstVisibleLine() > 0);
        QTRY_COMPARE_WITH_TIMEOUT(reader.Session().ShownChapter(), 2, 20000);
        QVERIFY(scroll.IsRunning());
        QTest::keyPress(&pane, Qt::Key_Control);
        QVERIFY(scroll.IsRunning());
        QTest::keyClick(&pane, Qt::Key_Down);
        QVERIFY(!scroll.IsRunning());
        const int stoppedAt = pane.FirstVisibleLine();
        QTest::qWait(100);
        QCOMPARE(pane.FirstVisibleLine(), stoppedAt);
        scroll.Toggle();
        QTRY_VERIFY_WITH_TIMEOUT(!scroll.IsRunning(), 20000);
        QCOMPARE(reader.Session().ShownChapter(), 2);
        QCOMPARE(running.count(), 4);
        scroll.SetSpeed(20);
        scroll.Faster();
        QCOMPARE(scroll.Speed(), 25);
        scroll.Slower();
        scroll.Slower();
        QCOMPARE(scroll.Speed(), 16);
        for (int i = 0; i < 20; ++i)
            scroll.Slower();
        QCOMPARE(scroll.Speed(), AutoScroll::kLeastSpeed);
    }

    // Without a speech service to reach, 开始朗读 reads nothing: the items
    // of 朗读 grey out, the strip says why, and reading goes on as before.
    void readAloud_withoutAService_greysOutWithItsReason()
    {
        qputenv("SPEECHD_ADDRESS", "unix_socket:/nonexistent/folivar-speech.sock");
        ReaderFixture reader;
        reader.AddBook(u"a.txt"_s, EncodeCodePage(u"第一章 甲\r\n天亮了。\r\n第二章 乙\r\n到了。\r\n"_s));
        reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s, u"Config/章=1"_s});
        reader.Start();
        QMenu *aloud = nullptr;
        for (QAction *item : reader.Controls().mainWindow->findChild<QMenuBar *>()->actions())
            if (item->text() == u"朗读"_s)
                aloud = item->menu();
        QVERIFY(aloud);
        aloud->actions().first()->trigger();
        const MessageStrip &strip = *reader.Controls().标签_提示;
        QTRY_VERIFY_WITH_TIMEOUT(strip.text().startsWith(u"朗读不可用："_s), 30000);
        qunsetenv("SPEECHD_ADDRESS");
        for (const QAction *item : aloud->actions())
            QVERIFY(!item->isEnabled());
        QVERIFY(!reader.Session().Aloud().IsOn());
        reader.ShowChapter(2);
        QCOMPARE(reader.Session().ShownChapter(), 2);
    }

    void recentBooks_aBookWhoseFileIsGoneIsDisabled()
    {
        ReaderFixture reader;
        reader.AddBook(u"a.txt"_s, EncodeCodePage(u"书\r\n"_s));
        reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s});
        MainWindow &window = reader.Start();
        reader.Session().Store().NoteRecentBook(u"/没有这个目录/旧书.txt"_s);
        QMenu *recent = SubMenu(window.menuBar()->actions().first()->menu(), u"最近阅读"_s);
        QVERIFY(recent);
        Q_EMIT recent->aboutToShow();
        QStringList items;
        for (const QAction *item : recent->actions())
            items << item->text() + (item->isEnabled() ? u""_s : u" (disabled)"_s);
        QCOMPARE(items,
                 QStringList({u"旧书.txt — /没有这个目录 (disabled)"_s,
                              u"a.txt — "_s + QDir::toNativeSeparators(reader.BookFolder())}));
    }

    // Typing narrows the book list, Simplified finding Traditional; the open
    // book stays open and comes back highlighted when Esc clears the field;
    // a click on a narrowed list opens the book clicked.
    void bookFilter_narrowsTheList_escClears_andTheOpenBookStays()
    {
        ReaderFixture reader;
        for (const QString &name : {u"乙.txt"_s, u"長門說書.txt"_s, u"丙.txt"_s})
            reader.AddBook(name, EncodeCodePage(u"第一章\r\n正文\r\n"_s));
        reader.WriteSettingsForBookFolder();
        reader.Start();
        const ReaderControls &c = reader.Controls();
        const Shelf &shelf = reader.Session().BookShelf();
        const int open = shelf.Books().RowOf(u"乙.txt"_s);
        reader.OpenBookAt(open);
        c.mainWindow->activateWindow();
        c.编辑框_内容->setFocus();
        QTest::keyClick(c.编辑框_内容, Qt::Key_L, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), c.bookFilter);
        // Chinese comes through the input method, not as key presses.
        QInputMethodEvent typed;
        typed.setCommitString(u"长门"_s);
        QApplication::sendEvent(c.bookFilter, &typed);
        QCOMPARE(c.列表框_文件->model()->rowCount(), 1);
        QCOMPARE(c.列表框_文件->model()->index(0, 0).data().toString(), u"長門說書.txt"_s);
        QCOMPARE(c.列表框_文件->Selection(), -1);
        QCOMPARE(shelf.OpenRow(), open);
        QCOMPARE(reader.Session().Book().fileName, u"乙.txt"_s);
        QTest::keyClick(c.bookFilter, Qt::Key_Escape);
        QCOMPARE(c.bookFilter->text(), QString());
        QCOMPARE(c.列表框_文件->model()->rowCount(), 3);
        QCOMPARE(c.列表框_文件->Selection(), open);
        QCOMPARE(reader.Session().Book().fileName, u"乙.txt"_s);

        c.bookFilter->setText(u"門"_s);
        const ReaderFixture::LoadWatch watch(reader);
        const QRect row = c.列表框_文件->visualRect(c.列表框_文件->model()->index(0, 0));
        QTest::mouseClick(c.列表框_文件->viewport(), Qt::LeftButton, {}, row.center());
        watch.Wait();
        QCOMPARE(reader.Session().Book().fileName, u"長門說書.txt"_s);
        QCOMPARE(c.列表框_文件->Selection(), shelf.Books().RowOf(u"長門說書.txt"_s));
    }

    // 文件 → 排序 sorts the list and is kept in a section of its own after the
    // others: the sections before it keep their bytes, 书 keeps counting in
    // name order, and the next start shows the same order. A saved place
    // shows in the open book's row.
    void bookOrder_isKeptInItsOwnSection_andTheListShowsProgress()
    {
        QByteArray written;
        {
            ReaderFixture reader;
            reader.AddBook(u"a.txt"_s, EncodeCodePage(u"第一章\r\n短\r\n"_s));
            reader.AddBook(u"b.txt"_s, EncodeCodePage(u"第一章\r\n这一本书要长得多，长得多。\r\n"_s));
            reader.WriteSettings({u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s});
            MainWindow &window = reader.Start();
            const ReaderControls &c = reader.Controls();
            const QModelIndex openRow = reader.Session().BookShelf().Books().index(0);
            const QModelIndex unopenedRow = reader.Session().BookShelf().Books().index(1);
            QCOMPARE(unopenedRow.data(BookListModel::kProgressRole).toString(), u"新"_s);
            reader.Session().SaveShownPlace();
            QCOMPARE(openRow.data(BookListModel::kProgressRole).toString(), u"0.0 %"_s);
            QAction *bySize = SubMenu(window.menuBar()->actions().first()->menu(), u"排序"_s)->actions().at(2);
            QCOMPARE(bySize->text(), u"按文件大小"_s);
            QVERIFY(c.列表框_文件->actions().contains(bySize));
            bySize->trigger();
            QCOMPARE(c.列表框_文件->model()->index(0, 0).data().toString(), u"b.txt"_s);
            QCOMPARE(c.列表框_文件->Selection(), 0);
            reader.Close();
            written = reader.SettingsBytes();
        }
        QVERIFY(written.contains(
            EncodeCodePage(u"[同步]\r\n地址=\r\n用户=\r\n启用=0\r\n[书库]\r\n排序=2\r\n[窗口]\r\n"_s)));
        QVERIFY(written.contains(EncodeCodePage(u"[Config]\r\n路径="_s)));
        QVERIFY(written.contains(EncodeCodePage(u"\r\n书=0\r\n章=0\r\n"_s)));
    }

    // 简洁模式: the pane alone, first where it was on screen, in a window
    // without a frame; the menu bar's keys still work, the pane's right-click
    // menu leads out, and the full window comes back as it was, its sidebar
    // hidden included.
    void simpleMode_showsThePaneAlone_andLeavingGivesTheWindowBack()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        const ReaderControls &c = reader.Controls();
        ItemOf(BarMenu(window, u"侧边栏"_s), u"隐藏"_s)->trigger();
        const QRect pane = c.编辑框_内容->geometry();
        const QRect paneOnScreen(c.编辑框_内容->mapToGlobal(QPoint(0, 0)), pane.size());
        const QSize size = window.size();
        QTest::keyClick(c.编辑框_内容, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QTRY_VERIFY(window.isVisible());
        for (const QWidget *gone : {static_cast<QWidget *>(window.menuBar()), static_cast<QWidget *>(c.列表框_文件),
                                    static_cast<QWidget *>(c.列表框_章节), static_cast<QWidget *>(c.标签_提示)})
            QVERIFY(!gone->isVisible());
        QCOMPARE(QRect(window.pos(), window.size()), paneOnScreen);
        window.resize(400, 120);
        QTRY_COMPARE(c.编辑框_内容->geometry(), QRect(0, 0, 400, 120));
        QVERIFY(reader.Services().preferences.Values().simpleMode);

        QTest::keyClick(c.编辑框_内容, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(c.findWindow->isVisible());
        c.findWindow->close();

        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), c.编辑框_内容->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(c.编辑框_内容->viewport(), &click);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QStringList items;
        for (const QAction *item : menu->actions())
            items << item->text();
        QCOMPARE(items,
                 (QStringList{u"退出简洁模式"_s, u"置顶"_s, u"透明度"_s, u"鼠标移出时隐藏"_s, QString(), u"阅读"_s,
                              u"朗读"_s}));
        menu->close();
        menu->actions().first()->trigger();

        QVERIFY(!(window.windowFlags() & Qt::FramelessWindowHint));
        QTRY_VERIFY(window.menuBar()->isVisible());
        QVERIFY(c.列表框_文件->isVisible() && c.列表框_章节->isVisible() && c.标签_提示->isVisible());
        QTRY_COMPARE(window.size(), size);
        QTRY_COMPARE(c.编辑框_内容->geometry(), pane);
        QVERIFY(!reader.Services().preferences.Values().simpleMode);
    }

    // 鼠标移出时隐藏: half a second after the pointer leaves, the text is
    // covered by the page's colour; it shows again as the pointer comes back.
    void hideOnLeave_coversTheTextWhileThePointerIsOut()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        auto *blind = reader.Controls().编辑框_内容->findChild<QWidget *>(u"blind"_s);
        QVERIFY(blind);
        QAction *item = ItemOf(BarMenu(window, u"视图"_s), u"鼠标移出时隐藏"_s);
        item->trigger();
        QVERIFY(reader.Services().preferences.Values().hideOnLeave);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&window, &leave);
        QTRY_VERIFY(blind->isVisible());
        QCOMPARE(blind->geometry(), reader.Controls().编辑框_内容->viewport()->rect());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(!blind->isVisible());

        // Turned off while the text is covered, it shows at once.
        QApplication::sendEvent(&window, &leave);
        QTRY_VERIFY(blind->isVisible());
        item->trigger();
        QVERIFY(!blind->isVisible());
        QVERIFY(!reader.Services().preferences.Values().hideOnLeave);
    }

    void exit_closesTheWindow()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        QAction *exit = nullptr;
        for (QAction *item : window.menuBar()->actions().first()->menu()->actions())
            if (item->text() == QStringLiteral("退出"))
                exit = item;
        QVERIFY(exit);
        exit->trigger();
        QVERIFY(!window.isVisible());
        QVERIFY(reader.Window().ShutDown().HasRun());
    }
};

FOLIVAR_TEST(MainWindowTest)
#include "MainWindowTest.moc"
