#include "layout/ControlRect.h"
#include "layout/RegisterLayout.h"
#include "layout/RelayoutAll.h"
#include "platform/QtWindowSystem.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <QWidget>

namespace {

// A shown top-level window whose client widget, 881 x 504 below a 25-pixel
// strip, holds the reading pane and the chapter list at their design places.
struct ReaderWindow {
    ReaderWindow()
    {
        window.move(50, 50);
        window.resize(881, 529);
        client.setGeometry(0, 25, 881, 504);
        pane.setGeometry(169, 0, 712, 504);
        chapterList.setGeometry(1, 272, 165, 232);
        window.show();
    }

    void RegisterStartUpLayout()
    {
        RegisterLayout(table, windows, HandleOf(&pane), ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT);
        RegisterLayout(table, windows, HandleOf(&chapterList), ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE,
                       ANCHOR_PARENT);
    }

    void RelayoutAt(int width, int height)
    {
        client.resize(width, height);
        RelayoutAll(table, windows);
    }

    QWidget window;
    QWidget client{&window};
    QWidget chapterList{&client};
    QWidget pane{&client};
    QtWindowSystem windows;
    LayoutTable table;
};

} // namespace

class QtLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpRegistrations_stretchPaneAndChapterList()
    {
        ReaderWindow reader;
        reader.RegisterStartUpLayout();
        QCOMPARE(reader.table.at(0).parent, HandleOf(&reader.client));
        QCOMPARE(reader.table.at(0).parentClient, (ClientRect{0, 0, 881, 504}));

        reader.RelayoutAt(981, 554);
        QCOMPARE(reader.pane.geometry(), QRect(169, 0, 812, 554));
        QCOMPARE(reader.chapterList.geometry(), QRect(1, 272, 165, 282));

        reader.RelayoutAt(881, 504);
        QCOMPARE(reader.pane.geometry(), QRect(169, 0, 712, 504));
        QCOMPARE(reader.chapterList.geometry(), QRect(1, 272, 165, 232));
    }

    void paneMovedByOtherCode_returnsOnNextPass()
    {
        ReaderWindow reader;
        reader.RegisterStartUpLayout();
        reader.pane.setGeometry(1, 0, 880, 504);

        reader.RelayoutAt(901, 504);

        QCOMPARE(reader.pane.geometry(), QRect(169, 0, 732, 504));
    }

    void negativeSizes_leaveTheWidgetEmpty()
    {
        ReaderWindow reader;
        reader.RegisterStartUpLayout();

        reader.RelayoutAt(0, 0);
        QCOMPARE(reader.pane.geometry().topLeft(), QPoint(169, 0));
        QCOMPARE(reader.pane.size(), QSize(0, 0));
        QCOMPARE(reader.chapterList.size(), QSize(165, 0));

        reader.RelayoutAt(881, 504);
        QCOMPARE(reader.pane.geometry(), QRect(169, 0, 712, 504));
        QCOMPARE(reader.chapterList.geometry(), QRect(1, 272, 165, 232));
    }

    void controlRect_isMeasuredFromTheGivenParent()
    {
        QWidget window;
        window.move(40, 30);
        window.resize(400, 300);
        QWidget container(&window);
        container.setGeometry(10, 20, 200, 150);
        QWidget control(&container);
        control.setGeometry(5, 7, 30, 40);
        window.show();
        const QtWindowSystem windows;

        QCOMPARE(GetControlRect(windows, HandleOf(&control), HandleOf(&container)),
                 (ControlRect{5, 7, 35, 47, 30, 40}));
        QCOMPARE(GetControlRect(windows, HandleOf(&control), HandleOf(&window)), (ControlRect{15, 27, 45, 67, 30, 40}));
        QCOMPARE(GetControlRect(windows, HandleOf(&container), HandleOf(&window)),
                 (ControlRect{10, 20, 210, 170, 200, 150}));
    }

    void windowSystem_answersForWidgetsAndNotForUnknownHandles()
    {
        ReaderWindow reader;
        const WindowHandle client = HandleOf(&reader.client);
        const WindowHandle pane = HandleOf(&reader.pane);
        const WindowHandle unknown = 999999;
        QCOMPARE(reader.windows.GetParent(pane), client);
        QCOMPARE(reader.windows.GetParent(HandleOf(&reader.window)), 0);
        QCOMPARE(reader.windows.GetParent(unknown), 0);
        QCOMPARE(reader.windows.GetClientRect(client), (WindowRect{0, 0, 881, 504}));
        QCOMPARE(reader.windows.GetClientRect(unknown), WindowRect{});
        QCOMPARE(reader.windows.GetWindowRect(unknown), WindowRect{});
        QCOMPARE(reader.windows.ScreenToClient(unknown, WindowPoint{3, 4}), (WindowPoint{3, 4}));

        const WindowRect paneOnScreen = reader.windows.GetWindowRect(pane);
        QCOMPARE(paneOnScreen.right - paneOnScreen.left, 712);
        QCOMPARE(paneOnScreen.bottom - paneOnScreen.top, 504);
        QCOMPARE(reader.windows.ScreenToClient(client, {paneOnScreen.left, paneOnScreen.top}), (WindowPoint{169, 0}));

        reader.windows.MoveWindow(unknown, 1, 2, 3, 4, true);
        reader.windows.MoveWindow(pane, 10, 20, 30, 40, true);
        QCOMPARE(reader.pane.geometry(), QRect(10, 20, 30, 40));
    }

    void movingTopLevelWindow_placesItsOuterRectangle()
    {
        QWidget window;
        window.show();
        QtWindowSystem windows;
        const WindowHandle handle = HandleOf(&window);

        windows.MoveWindow(handle, 60, 70, 500, 400, true);

        QCOMPARE(windows.GetWindowRect(handle), (WindowRect{60, 70, 560, 470}));
    }
};

FOLIVAR_TEST(QtLayoutTest)
#include "QtLayoutTest.moc"
