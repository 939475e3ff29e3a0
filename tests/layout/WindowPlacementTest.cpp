// Where the window reopens on the screens there are now.
#include "layout/WindowPlacement.h"
#include "FakeWindowSystem.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

const WindowRect kDesigned{50, 50, 934, 610};
// A wide primary screen with a panel at its top, and one to its right.
const WindowRect kPrimary{0, 24, 1920, 1080};
const WindowRect kRightScreen{1920, 0, 3200, 1024};

} // namespace

// Prints a rectangle in failure messages.
char *toString(const WindowRect &rect)
{
    return QTest::toString(
        QStringLiteral("(%1, %2)-(%3, %4)").arg(rect.left).arg(rect.top).arg(rect.right).arg(rect.bottom));
}

Q_DECLARE_METATYPE(WindowRect)
Q_DECLARE_METATYPE(std::optional<WindowRect>)

class WindowPlacementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reopened_keepsTheWindowReachable_data()
    {
        QTest::addColumn<int>("screenCount");
        QTest::addColumn<std::optional<WindowRect>>("remembered");
        QTest::addColumn<WindowRect>("expected");
        const auto row = [](const char *name, int screens, std::optional<WindowRect> remembered, WindowRect expected) {
            QTest::newRow(name) << screens << remembered << expected;
        };
        row("nothing remembered: the designed place", 2, std::nullopt, kDesigned);
        row("nothing remembered, no screens", 0, std::nullopt, kDesigned);
        row("on the primary screen: kept", 2, WindowRect{300, 200, 900, 600}, WindowRect{300, 200, 900, 600});
        row("on the second screen: kept", 2, WindowRect{2000, 100, 2600, 500}, WindowRect{2000, 100, 2600, 500});
        row("half off a screen, still grabbable: kept", 2, WindowRect{-300, 500, 300, 900},
            WindowRect{-300, 500, 300, 900});
        row("on a screen unplugged since: onto the primary", 1, WindowRect{2000, 100, 2600, 500},
            WindowRect{1320, 100, 1920, 500});
        row("far above every screen: onto the primary", 2, WindowRect{100, -900, 700, -500},
            WindowRect{100, 24, 700, 424});
        row("a sliver left on screen: onto the primary", 2, WindowRect{-590, 200, 10, 600},
            WindowRect{0, 200, 600, 600});
        row("larger than its screen: fitted onto it", 2, WindowRect{1900, 10, 3500, 1200},
            WindowRect{1920, 0, 3200, 1024});
        row("taller than the primary: fitted below its panel", 2, WindowRect{10, 0, 810, 1400},
            WindowRect{10, 24, 810, 1080});
        row("no screens to ask: kept", 0, WindowRect{5000, 5000, 5600, 5400}, WindowRect{5000, 5000, 5600, 5400});
    }

    void reopened_keepsTheWindowReachable()
    {
        QFETCH(int, screenCount);
        QFETCH(std::optional<WindowRect>, remembered);
        QFETCH(WindowRect, expected);
        FakeWindowSystem windows;
        const WindowRect screens[] = {kPrimary, kRightScreen};
        for (int i = 0; i < screenCount; ++i)
            windows.AddScreen(screens[i]);
        QCOMPARE(ReopenedWindowRect(windows, remembered, kDesigned), expected);
    }
};

FOLIVAR_TEST(WindowPlacementTest)
#include "WindowPlacementTest.moc"
