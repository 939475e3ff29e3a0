#include "app/FirstStartGuide.h"
#include "app/Startup.h"
#include "core/BookStore.h"
#include "core/CodePage.h"
#include "core/Settings.h"
#include "core/TypographySettings.h"
#include "shelf/Shelf.h"
#include "support/NovelGenerator.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/VirtualKey.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Three books whose chapters are long enough to scroll.
QString LongBook(const QString &name)
{
    QString text = name + QStringLiteral("\r\n");
    for (int chapter = 1; chapter <= 8; ++chapter) {
        text += QStringLiteral("第%1章 %2\r\n").arg(chapter).arg(name);
        for (int paragraph = 0; paragraph < 60; ++paragraph)
            text += QStringLiteral("　　%1之%2段，").arg(name).arg(paragraph) + QString(30, QChar(0x6587))
                + QStringLiteral("\r\n");
    }
    return text;
}

QString Setting(const QByteArray &settingsBytes, const QString &key)
{
    const QString text = DecodeCodePage(settingsBytes);
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    return QStringLiteral("<missing>");
}

// The start-ups that showed the remembered chapter from its bytes, as the
// program tells them.
int previewedStartUps = 0;

void CountPreviewedStartUps(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.contains(u"start-up shows the remembered chapter from its bytes"_s))
        ++previewedStartUps;
}

} // namespace

class StartupShutdownTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home_;
    QByteArray userHome_ = qgetenv("HOME");

    void AddLibrary(ReaderFixture &reader)
    {
        for (const QString &name : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            reader.AddBook(name + QStringLiteral(".txt"), EncodeCodePage(LongBook(name)));
    }

    QString Folder(const ReaderFixture &reader) { return reader.BookFolder() + QLatin1Char('/'); }

private Q_SLOTS:
    void initTestCase()
    {
        // The default book folder lives in the home folder: keep it ours.
        qputenv("HOME", home_.path().toLocal8Bit());
    }

    // The tests after these find the home folder they started with.
    void cleanupTestCase() { qputenv("HOME", userHome_); }

    void firstRun_opensNothing_showsTheGuide_andWritesEveryKeyInOrder()
    {
        ReaderFixture reader;
        reader.Start();
        const ReaderControls &c = reader.Controls();
        QCOMPARE(c.列表框_文件->Count(), 0);
        QCOMPARE(c.列表框_章节->Count(), 0);
        QCOMPARE(c.编辑框_内容->Text(), FirstStartGuide(reader.SettingsPath()));
        QVERIFY(c.编辑框_内容->Text().contains(QStringLiteral("文件 → 打开文件")));
        QCOMPARE(c.编辑框_内容->BackgroundColour(), 16777215);
        const QString font = c.编辑框_内容->FontName();
        const int size = c.编辑框_内容->FontSize();
        // The designed outer place; inside the frame the platform draws.
        const QRect window(c.mainWindow->pos(), c.mainWindow->size());
        QCOMPARE(c.mainWindow->frameGeometry(), QRect(50, 50, 884, 560));
        reader.Close();
        const QString expected =
            QStringLiteral("[Config]\r\n路径=%1/book/\r\n书=-1\r\n章=-1\r\n行=0\r\n"
                           "书名=\r\n章名=\r\n[字体]\r\n字体=%2\r\n字体大小=%3\r\n文本颜色=0\r\n"
                           "背景颜色=16777215\r\n[排版]\r\n行距=1.0\r\n段距=0.0\r\n"
                           "左右页边距=0\r\n上下页边距=0\r\n首行缩进=保持原样\r\n空行=保留\r\n"
                           "正文宽度=0\r\n两端对齐=0\r\n[阅读]\r\n自动滚动速度=20\r\n[热键]\r\n热键=`\r\n"
                           "[朗读]\r\n语速=0\r\n声音=\r\n"
                           "[同步]\r\n地址=\r\n用户=\r\n启用=0\r\n[书库]\r\n排序=0\r\n"
                           "[窗口]\r\n左=%4\r\n上=%5\r\n宽=%6\r\n高=%7\r\n全屏=0\r\n简洁模式=0\r\n"
                           "简洁左=\r\n简洁上=\r\n简洁宽=\r\n简洁高=\r\n置顶=0\r\n透明度=100\r\n背景透明=0\r\n"
                           "鼠标移出时隐藏=0\r\n")
                .arg(home_.path(), font)
                .arg(size)
                .arg(window.x())
                .arg(window.y())
                .arg(window.width())
                .arg(window.height());
        QCOMPARE(reader.SettingsBytes(), EncodeCodePage(expected));
    }

    void rememberedPlace_isRestoredWithTheRememberedFontBeforeScrolling()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=1"),
                              QStringLiteral("Config/章=5"), QStringLiteral("Config/行=7"),
                              QStringLiteral("字体/字体=Noto Serif CJK SC"), QStringLiteral("字体/字体大小=21"),
                              QStringLiteral("字体/文本颜色=255"), QStringLiteral("字体/背景颜色=12632256"),
                              QStringLiteral("排版/行距=1.5"), QStringLiteral("排版/首行缩进=不缩进"),
                              QStringLiteral("排版/正文宽度=9"), QStringLiteral("排版/左右页边距=x")});
        reader.Start();
        const ReaderControls &c = reader.Controls();
        Typography typography;
        typography.lineSpacing = 1.5;
        typography.indentation = Indentation::None;
        typography.columnCharacters = 9;
        QCOMPARE(c.编辑框_内容->TextTypography(), typography);
        QCOMPARE(c.列表框_文件->Selection(), 1);
        QCOMPARE(c.列表框_章节->Selection(), 5);
        QVERIFY(c.编辑框_内容->Text().startsWith(QStringLiteral("第5章 乙"))); // names sort 丙, 乙, 甲
        QCOMPARE(c.编辑框_内容->FontName(), QStringLiteral("Noto Serif CJK SC"));
        QCOMPARE(c.编辑框_内容->FontSize(), 21);
        QCOMPARE(c.编辑框_内容->TextColour(), 255);
        QCOMPARE(c.编辑框_内容->BackgroundColour(), 12632256);
        for (const ListBox *list : {c.列表框_文件, c.列表框_章节}) {
            QCOMPARE(list->palette().color(QPalette::Text), QColor(255, 0, 0));
            QCOMPARE(list->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        }
        QCOMPARE(c.编辑框_内容->FirstVisibleLine(), 7);
        QCOMPARE(c.编辑框_路径->text(), Folder(reader));
        reader.Close();
        const QByteArray saved = reader.SettingsBytes();
        QCOMPARE(Setting(saved, QStringLiteral("书")), QStringLiteral("1"));
        QCOMPARE(Setting(saved, QStringLiteral("章")), QStringLiteral("5"));
        QCOMPARE(Setting(saved, QStringLiteral("行")), QStringLiteral("7"));
        QCOMPARE(Setting(saved, QStringLiteral("字体大小")), QStringLiteral("21"));
        QCOMPARE(Setting(saved, QStringLiteral("行距")), QStringLiteral("1.5"));
        QCOMPARE(Setting(saved, QStringLiteral("首行缩进")), QStringLiteral("不缩进"));
        QCOMPARE(Setting(saved, QStringLiteral("左右页边距")), QStringLiteral("0"));
    }

    // A config.ini place is never given to another book: one whose 书名 names
    // no book of the list opens the book at 书 at its own record's place.
    void startupBranches_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("recordChapter"); // of 乙.txt, book 1; -1: none
        QTest::addColumn<int>("book");
        QTest::addColumn<int>("chapter");
        QTest::addColumn<int>("line");
        QTest::newRow("no book selected")
            << QStringList{QStringLiteral("书=-1"), QStringLiteral("章=-1")} << -1 << -1 << -1 << 0;
        QTest::newRow("book without chapter: chapter 0, no scroll")
            << QStringList{QStringLiteral("书=0"), QStringLiteral("行=5")} << -1 << 0 << 0 << 0;
        QTest::newRow("chapter without book")
            << QStringList{QStringLiteral("章=5"), QStringLiteral("行=3")} << -1 << -1 << -1 << 0;
        QTest::newRow("chapter beyond the list")
            << QStringList{QStringLiteral("书=2"), QStringLiteral("章=40")} << -1 << 2 << 0 << 0;
        QTest::newRow("book beyond the list")
            << QStringList{QStringLiteral("书=9"), QStringLiteral("章=1")} << -1 << -1 << -1 << 0;
        QTest::newRow("garbage numbers") << QStringList{QStringLiteral("书=abc"), QStringLiteral("章=x1")} << -1 << 0
                                         << 0 << 0;
        const QStringList place{QStringLiteral("书=1"), QStringLiteral("章=5"), QStringLiteral("行=7")};
        QTest::newRow("书名 names another book: that one")
            << QStringList{QStringLiteral("书=0"), QStringLiteral("章=5"), QStringLiteral("书名=乙.txt")} << 3 << 1 << 5
            << 0;
        QTest::newRow("书名 names no book: its record's place")
            << place + QStringList{QStringLiteral("书名=丁.txt")} << 3 << 1 << 3 << 2;
        QTest::newRow("书名 names no book, no record: its start")
            << place + QStringList{QStringLiteral("书名=丁.txt")} << -1 << 1 << 0 << 0;
        QTest::newRow("no 书名: config.ini's place, newer than the record") << place << 3 << 1 << 5 << 7;
    }

    void startupBranches()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, recordChapter);
        QFETCH(int, book);
        QFETCH(int, chapter);
        QFETCH(int, line);
        ReaderFixture reader;
        AddLibrary(reader);
        QStringList lines{QStringLiteral("Config/路径=") + Folder(reader)};
        for (const QString &setting : settings)
            lines << QStringLiteral("Config/") + setting;
        reader.WriteSettings(lines);
        if (recordChapter >= 0) {
            BookStore store;
            store.Open(BookStorePathFor(reader.SettingsPath()));
            BookRecord record;
            record.chapter = recordChapter;
            record.line = 2;
            store.Put(QStringLiteral("乙.txt"), record);
        }
        reader.Start();
        const ReaderControls &c = reader.Controls();
        QCOMPARE(c.列表框_文件->Count(), 3);
        QCOMPARE(c.列表框_文件->Selection(), book);
        QCOMPARE(c.列表框_章节->Selection(), chapter);
        QCOMPARE(c.编辑框_内容->FirstVisibleLine(), line);
        QCOMPARE(c.编辑框_内容->Text().isEmpty(), book < 0);
    }

    // The record's chapter is shown from its bytes first only where the book
    // then opens: a newer config.ini place elsewhere would make it jump.
    void reopened_previewsOnlyThePlaceItOpensAt_data()
    {
        QTest::addColumn<int>("chapter");
        QTest::addColumn<int>("previews");
        QTest::newRow("config.ini at the record's place") << 3 << 1;
        QTest::newRow("config.ini at another chapter, newer") << 5 << 0;
    }

    void reopened_previewsOnlyThePlaceItOpensAt()
    {
        QFETCH(int, chapter);
        QFETCH(int, previews);
        ReaderFixture reader;
        AddLibrary(reader);
        reader.WriteSettingsForBookFolder();
        reader.Start();
        reader.OpenBookAt(1);
        reader.ShowChapter(3);
        const QString title = reader.Session().Book().ChapterTitle(chapter);
        reader.Close();
        reader.WriteSettings({u"Config/路径="_s + Folder(reader), u"Config/书=1"_s, u"Config/书名=乙.txt"_s,
                              u"Config/章=%1"_s.arg(chapter), u"Config/章名="_s + title, u"Config/行=0"_s});
        previewedStartUps = 0;
        QLoggingCategory::setFilterRules(u"folivar.app.info=true"_s);
        const QtMessageHandler before = qInstallMessageHandler(CountPreviewedStartUps);
        reader.Start();
        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(previewedStartUps, previews);
        QCOMPARE(reader.Session().ShownChapter(), chapter);
    }

    // The hide key config.ini names is the one saved again.
    void hotKey_isKeptAcrossARestart_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("saved");
        QTest::newRow("none named: the key left of 1") << QStringList{} << QStringLiteral("`");
        QTest::newRow("a combination") << QStringList{QStringLiteral("热键/热键=Ctrl+Alt+H")}
                                       << QStringLiteral("Ctrl+Alt+H");
        QTest::newRow("a shifted character")
            << QStringList{QStringLiteral("热键/热键=Shift+!")} << QStringLiteral("Shift+!");
        QTest::newRow("none") << QStringList{QStringLiteral("热键/热键=无")} << QStringLiteral("无");
        QTest::newRow("no key: the default")
            << QStringList{QStringLiteral("热键/热键=Ctrl+Alt")} << QStringLiteral("`");
        QTest::newRow("two keys: the default")
            << QStringList{QStringLiteral("热键/热键=Ctrl+K, Ctrl+L")} << QStringLiteral("`");
    }

    void hotKey_isKeptAcrossARestart()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, saved);
        ReaderFixture reader;
        reader.WriteSettings(QStringList{QStringLiteral("Config/路径=") + Folder(reader)} + settings);
        reader.Start();
        reader.Close();
        QCOMPARE(Setting(reader.SettingsBytes(), QStringLiteral("热键")), saved);
    }

    // [窗口] brings the window back where and as it was left, on the screen
    // there is now (800 x 800 here).
    void windowSection_isRestored_data()
    {
        QTest::addColumn<QStringList>("settings");
        // Where the window's frame lies and how large the window is inside it.
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("simple");
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<double>("opacity");
        const QStringList normal{u"窗口/左=120"_s, u"窗口/上=70"_s, u"窗口/宽=640"_s, u"窗口/高=480"_s};
        QTest::newRow("none: the designed place") << QStringList{} << QRect() << false << false << 1.0;
        QTest::newRow("its own place and size, on top, 70 %")
            << normal + QStringList{u"窗口/置顶=1"_s, u"窗口/透明度=70"_s} << QRect(120, 70, 640, 480) << false << true
            << 0.7;
        QTest::newRow("off every screen: onto the screen, an unknown opacity whole")
            << QStringList{u"窗口/左=5000"_s, u"窗口/上=-4000"_s, u"窗口/宽=640"_s, u"窗口/高=480"_s,
                           u"窗口/透明度=55"_s}
            << QRect(160, 0, 640, 480) << false << false << 1.0;
        QTest::newRow("half a place: the designed one")
            << QStringList{u"窗口/左=120"_s, u"窗口/宽=640"_s} << QRect() << false << false << 1.0;
        QTest::newRow("simple, at its own place") << normal
                + QStringList{u"窗口/简洁模式=1"_s, u"窗口/简洁左=30"_s, u"窗口/简洁上=40"_s, u"窗口/简洁宽=300"_s,
                              u"窗口/简洁高=90"_s} << QRect(30, 40, 300, 90)
                                                  << true << false << 1.0;
    }

    void windowSection_isRestored()
    {
        QFETCH(QStringList, settings);
        QFETCH(QRect, geometry);
        QFETCH(bool, simple);
        QFETCH(bool, onTop);
        QFETCH(double, opacity);
        if (QGuiApplication::primaryScreen()->availableGeometry() != QRect(0, 0, 800, 800))
            QSKIP("the places are laid out for the 800 x 800 screen of the offscreen platform");
        ReaderFixture reader;
        reader.WriteSettings(QStringList{u"Config/路径="_s + Folder(reader)} + settings);
        MainWindow &window = reader.Start();
        if (geometry.isNull())
            QTRY_COMPARE(window.frameGeometry(), QRect(50, 50, 884, 560));
        else
            QTRY_COMPARE(QRect(window.pos(), window.size()), geometry);
        QCOMPARE(bool(window.windowFlags() & Qt::FramelessWindowHint), simple);
        QCOMPARE(window.menuBar()->isVisible(), !simple);
        QCOMPARE(reader.Controls().列表框_章节->isVisible(), !simple);
        QCOMPARE(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        // The window system keeps it in steps of 1/255.
        QVERIFY2(qAbs(window.windowOpacity() - opacity) < 0.01, qPrintable(QString::number(window.windowOpacity())));
    }

    // The modes and places chosen are what shutdown writes.
    void windowModes_areSaved()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        window.move(130, 90);
        window.resize(700, 480);
        const auto item = [&window](const QString &text) {
            for (QAction *menu : window.menuBar()->actions())
                if (menu->text() == u"视图"_s)
                    for (QAction *found : menu->menu()->findChildren<QAction *>())
                        if (found->text() == text)
                            return found;
            return static_cast<QAction *>(nullptr);
        };
        item(u"置顶"_s)->trigger();
        item(u"80 %"_s)->trigger();
        item(u"鼠标移出时隐藏"_s)->trigger();
        item(u"简洁模式"_s)->trigger();
        QTRY_VERIFY(window.isVisible());
        window.move(20, 30);
        window.resize(360, 100);
        reader.Close();
        const QByteArray saved = reader.SettingsBytes();
        const QStringList expected{u"左=130"_s,     u"上=90"_s,     u"宽=700"_s,    u"高=480"_s,
                                   u"简洁模式=1"_s, u"简洁左=20"_s, u"简洁上=30"_s, u"简洁宽=360"_s,
                                   u"简洁高=100"_s, u"置顶=1"_s,    u"透明度=80"_s, u"鼠标移出时隐藏=1"_s,
                                   u"全屏=0"_s};
        for (const QString &line : expected) {
            const QString key = line.section(u'=', 0, 0);
            QCOMPARE(key + u'=' + Setting(saved, key), line);
        }
    }

    void lineBeyondTheChapter_stopsAtItsLastLine()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=0"),
                              QStringLiteral("Config/章=2"), QStringLiteral("Config/行=100000")});
        reader.Start();
        EditBox *pane = reader.Controls().编辑框_内容;
        const int last = pane->FirstVisibleLine();
        QVERIFY(last > 0);
        pane->ScrollLines(1);
        QCOMPARE(pane->FirstVisibleLine(), last);
    }

    void emptyBookDirectory_stillAppliesTheAppearance()
    {
        ReaderFixture reader;
        reader.WriteSettings({QStringLiteral("Config/路径="), QStringLiteral("Config/书=0"),
                              QStringLiteral("字体/字体大小=19"), QStringLiteral("字体/背景颜色=0")});
        reader.Start();
        const ReaderControls &c = reader.Controls();
        QCOMPARE(c.列表框_文件->Count(), 0);
        QCOMPARE(c.编辑框_路径->text(), QString());
        QCOMPARE(c.编辑框_内容->FontSize(), 19);
        QCOMPARE(c.编辑框_内容->BackgroundColour(), 0);
        reader.Close();
        QCOMPARE(Setting(reader.SettingsBytes(), QStringLiteral("路径")), QString());
    }

    void appearanceThatIsNoNumber_keepsTheDesignedLook()
    {
        ReaderFixture reader;
        reader.WriteSettings({QStringLiteral("Config/路径="), QStringLiteral("字体/字体大小=big"),
                              QStringLiteral("字体/文本颜色=red"), QStringLiteral("字体/背景颜色=4294967296")});
        reader.Start();
        const EditBox *pane = reader.Controls().编辑框_内容;
        QCOMPARE(pane->FontSize(), 12);
        QCOMPARE(pane->TextColour(), 0);
        QCOMPARE(pane->BackgroundColour(), 16777215);
    }

    void shutdown_keepsTheFilesOtherLines()
    {
        ReaderFixture reader;
        reader.WriteSettings({QStringLiteral("Other/甲=一"), QStringLiteral("Config/路径=") + Folder(reader),
                              QStringLiteral("Config/自定义=保留")});
        reader.Start();
        reader.Close();
        const QString text = DecodeCodePage(reader.SettingsBytes());
        QVERIFY(text.startsWith(QStringLiteral("[Other]\r\n甲=一\r\n[Config]\r\n路径=") + Folder(reader)
                                + QStringLiteral("\r\n自定义=保留\r\n书=-1\r\n")));
    }

    void chosenFolderWithoutABook_savesTheNewFolderAndTheShownChapter()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=0"),
                              QStringLiteral("Config/章=3"), QStringLiteral("Config/行=4")});
        reader.Start();
        QTemporaryDir other;
        reader.Session().BookShelf().ClearBookList();
        reader.Session().BookShelf().FillBookList(other.path());
        reader.Close();
        const QByteArray saved = reader.SettingsBytes();
        QCOMPARE(Setting(saved, QStringLiteral("路径")), other.path() + QLatin1Char('/'));
        QCOMPARE(Setting(saved, QStringLiteral("书")), QStringLiteral("-1"));
        QCOMPARE(Setting(saved, QStringLiteral("章")), QStringLiteral("3"));
        QCOMPARE(Setting(saved, QStringLiteral("行")), QStringLiteral("4"));
    }

    void closeWhileStartupReopensTheBook_keepsTheRememberedPlace()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.AddBook(QStringLiteral("庚.txt"),
                       EncodeCodePage(LongBook(QStringLiteral("庚")).repeated(40))); // sorts third
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=2"),
                              QStringLiteral("Config/章=6"), QStringLiteral("Config/行=3")});
        // The window closes right after start-up has begun to reopen the
        // remembered book: the close is queued behind start-up itself.
        ReaderServices services;
        MainWindow window(services);
        QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
        QTRY_VERIFY(window.StartUp().IsFinished());
        QVERIFY(!window.isVisible());
        QVERIFY(!window.Session().BookShelf().IsLoading());
        QCOMPARE(window.Controls().列表框_章节->Count(), 0);
        const QByteArray saved = reader.SettingsBytes();
        QCOMPARE(Setting(saved, QStringLiteral("书")), QStringLiteral("2"));
        QCOMPARE(Setting(saved, QStringLiteral("章")), QStringLiteral("6"));
        QCOMPARE(Setting(saved, QStringLiteral("行")), QStringLiteral("3"));
    }

    void closeWhileAChosenBookLoads_savesWhatTheUserSaw()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.AddBook(QStringLiteral("庚.txt"),
                       EncodeCodePage(LongBook(QStringLiteral("庚")).repeated(40))); // sorts third
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=0"),
                              QStringLiteral("Config/章=2")});
        MainWindow &window = reader.Start();
        const ReaderControls &c = reader.Controls();
        ReaderFixture::Choose(*c.列表框_文件, 2); // the user opens the big book and closes at once
        window.close();
        QVERIFY(!reader.Session().BookShelf().IsLoading());
        // The list shows the new book chosen and the old book's chapter 2.
        const QByteArray saved = reader.SettingsBytes();
        QCOMPARE(Setting(saved, QStringLiteral("书")), QStringLiteral("2"));
        QCOMPARE(Setting(saved, QStringLiteral("章")), QStringLiteral("2"));
    }

    // While the reader runs, config.ini follows what changes, a second or so
    // later, in the same bytes as the save at shutdown.
    void changes_areWrittenWhileTheReaderRuns()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=0"),
                              QStringLiteral("Config/章=1")});
        reader.Start();
        const ReaderControls &c = reader.Controls();
        reader.Session().OnContentKeyUp(VK_RIGHT, 0);
        QTRY_COMPARE_WITH_TIMEOUT(Setting(reader.SettingsBytes(), QStringLiteral("章")), QStringLiteral("2"), 5000);
        reader.OpenBookAt(2);
        // As the menus set them.
        Preferences &preferences = reader.Services().preferences;
        preferences.Set(&Settings::fontSize, std::optional<int>(23));
        preferences.Set(&Settings::backgroundColour, std::optional<int>(0x102030));
        Typography typography;
        typography.paragraphSpacing = 0.5;
        PutTypography(typography, preferences);
        QCOMPARE(c.编辑框_内容->FontSize(), 23);
        QCOMPARE(c.编辑框_内容->BackgroundColour(), 0x102030);
        QCOMPARE(c.编辑框_内容->TextTypography(), typography);
        QTRY_COMPARE_WITH_TIMEOUT(Setting(reader.SettingsBytes(), QStringLiteral("字体大小")), QStringLiteral("23"),
                                  5000);
        QCOMPARE(Setting(reader.SettingsBytes(), QStringLiteral("书")), QStringLiteral("2"));
        QCOMPARE(Setting(reader.SettingsBytes(), QStringLiteral("背景颜色")), QString::number(0x102030));
        QCOMPARE(Setting(reader.SettingsBytes(), QStringLiteral("段距")), QStringLiteral("0.5"));
        const QByteArray whileRunning = reader.SettingsBytes();
        reader.Close();
        QCOMPARE(reader.SettingsBytes(), whileRunning);
    }

    void hiddenWindow_stillSavesOnClose()
    {
        ReaderFixture reader;
        AddLibrary(reader);
        reader.WriteSettings({QStringLiteral("Config/路径=") + Folder(reader), QStringLiteral("Config/书=2"),
                              QStringLiteral("Config/章=1"), QStringLiteral("Config/行=2")});
        MainWindow &window = reader.Start();
        window.hide();
        reader.Close();
        const QByteArray saved = reader.SettingsBytes();
        QCOMPARE(Setting(saved, QStringLiteral("书")), QStringLiteral("2"));
        QCOMPARE(Setting(saved, QStringLiteral("行")), QStringLiteral("2"));
    }
};

FOLIVAR_TEST(StartupShutdownTest)
#include "StartupShutdownTest.moc"
