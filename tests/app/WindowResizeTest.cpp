#include "core/CodePage.h"
#include "support/NovelGenerator.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "tools/Sidebar.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"

#include <QTest>
#include <QTextBlock>

// The real window: resizing stretches the pane and lengthens the chapter
// list, the sidebar commands move the pane, and the reader keeps its place.
class WindowResizeTest : public QObject {
    Q_OBJECT
private:
    static void ResizeClientBy(MainWindow &window, int dw, int dh) { window.resize(window.size() + QSize(dw, dh)); }

private Q_SLOTS:
    void resize_stretchesThePaneAndTheChapterListOnly()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        const ReaderControls &c = reader.Controls();
        ResizeClientBy(window, 100, 50);
        QTRY_COMPARE(c.编辑框_内容->geometry(), QRect(169, 0, 812, 554));
        QCOMPARE(c.列表框_章节->geometry(), QRect(1, 272, 165, 282));
        QCOMPARE(c.列表框_文件->geometry(), QRect(1, 24, 165, 248));
        ResizeClientBy(window, -100, -50);
        QTRY_COMPARE(c.编辑框_内容->geometry(), QRect(169, 0, 712, 504));
        QCOMPARE(c.列表框_章节->geometry(), QRect(1, 272, 165, 232));
    }

    void sidebar_hideAndShowAtTheSameSize()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        const ReaderControls &c = reader.Controls();
        const int outerWidth = window.frameGeometry().width();
        OnHideSidebar(*c.mainWindow, *c.编辑框_内容);
        QCOMPARE(c.编辑框_内容->geometry(), QRect(1, 0, outerWidth - 5, 504));
        QVERIFY(c.列表框_文件->isVisible());
        QCOMPARE(c.列表框_文件->geometry(), QRect(1, 24, 165, 248));
        OnShowSidebar(*c.mainWindow, *c.编辑框_内容);
        QCOMPARE(c.编辑框_内容->geometry(), QRect(169, 0, outerWidth - 173, 504));
        OnShowSidebar(*c.mainWindow, *c.编辑框_内容);
        QCOMPARE(c.编辑框_内容->geometry(), QRect(169, 0, outerWidth - 173, 504));
    }

    void hiddenSidebar_comesBackOnTheNextResize()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        const ReaderControls &c = reader.Controls();
        OnHideSidebar(*c.mainWindow, *c.编辑框_内容);
        ResizeClientBy(window, 40, 0);
        QTRY_COMPARE(c.编辑框_内容->geometry(), QRect(169, 0, 752, 504));
    }

    void tinyWindow_keepsBothListsAndThePaneUsable()
    {
        ReaderFixture reader;
        MainWindow &window = reader.Start();
        const ReaderControls &c = reader.Controls();
        for (const QSize asked : {QSize(400, 300), QSize(200, 150)}) {
            window.resize(asked);
            QTRY_VERIFY(window.width() > asked.width() && window.height() > asked.height());
            QTRY_VERIFY(c.列表框_章节->height() >= 100);
            QVERIFY(c.编辑框_内容->width() >= 300);
            QVERIFY(c.编辑框_内容->height() >= 300);
            // The sidebar commands move the pane without the layout engine.
            OnShowSidebar(*c.mainWindow, *c.编辑框_内容);
            QVERIFY(c.编辑框_内容->width() >= 300);
        }
    }

    void resize_keepsTheReadersPlace()
    {
        ReaderFixture reader;
        QString book = QStringLiteral("书名\r\n第一章 长\r\n");
        for (int i = 0; i < 300; ++i)
            book += QStringLiteral("　　第%1段").arg(i) + QString(90, QChar(0x6587)) + QStringLiteral("\r\n");
        reader.AddBook(QStringLiteral("a.txt"), EncodeCodePage(book));
        reader.WriteSettings({QStringLiteral("Config/路径=") + reader.BookFolder() + QLatin1Char('/'),
                              QStringLiteral("Config/书=0"), QStringLiteral("Config/章=1"),
                              QStringLiteral("Config/行=200")});
        MainWindow &window = reader.Start();
        EditBox *pane = reader.Controls().编辑框_内容;
        const QString topText = pane->cursorForPosition(QPoint(4, 4)).block().text();
        QVERIFY(topText.contains(QStringLiteral("段")));
        ResizeClientBy(window, 200, 0);
        QTRY_COMPARE(pane->width(), 912);
        QCOMPARE(pane->cursorForPosition(QPoint(4, 4)).block().text(), topText);
        ResizeClientBy(window, -350, 0);
        QTRY_COMPARE(pane->width(), 562);
        QCOMPARE(pane->cursorForPosition(QPoint(4, 4)).block().text(), topText);
    }
};

FOLIVAR_TEST(WindowResizeTest)
#include "WindowResizeTest.moc"
