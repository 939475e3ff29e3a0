#include "layout/RegisterLayout.h"
#include "FakeWindowSystem.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

constexpr WindowHandle kControl = 10;
constexpr WindowHandle kReference = 20;

enum Side { LeftSide, TopSide, RightSide, BottomSide };

} // namespace

char *toString(const LayoutEntry &e)
{
    return QTest::toString(QStringLiteral("control %1 gaps %2 %3 %4 %5 size %6x%7 anchors %8/%9 %10/%11 %12/%13 "
                                          "%14/%15 centre %16 parent %17 client %18x%19")
                               .arg(e.control)
                               .arg(e.leftGap)
                               .arg(e.topGap)
                               .arg(e.rightGap)
                               .arg(e.bottomGap)
                               .arg(e.width)
                               .arg(e.height)
                               .arg(e.leftAnchor.target)
                               .arg(e.leftAnchor.sameEdge)
                               .arg(e.topAnchor.target)
                               .arg(e.topAnchor.sameEdge)
                               .arg(e.rightAnchor.target)
                               .arg(e.rightAnchor.sameEdge)
                               .arg(e.bottomAnchor.target)
                               .arg(e.bottomAnchor.sameEdge)
                               .arg(e.centerFlags)
                               .arg(e.parent)
                               .arg(e.parentClient.right)
                               .arg(e.parentClient.bottom));
}

class RegisterLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpRegistrations_recordDesignGeometryAgainstClientArea()
    {
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        windows.AddWindow(kControl, kClientArea, {169, 0, 712, 504});
        windows.AddWindow(kControl + 1, kClientArea, {1, 272, 165, 232});
        LayoutTable table;

        RegisterLayout(table, windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT);
        RegisterLayout(table, windows, kControl + 1, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_PARENT);

        const EdgeAnchor parent{ANCHOR_PARENT, 0};
        const ClientRect client{0, 0, 881, 504};
        QCOMPARE(table.size(), 2u);
        QCOMPARE(
            table[0],
            (LayoutEntry{kControl, 169, 0, 712, 504, 0, 0, parent, parent, parent, parent, 0, kClientArea, client}));
        QCOMPARE(table[1],
                 (LayoutEntry{kControl + 1, 1, 272, 165, 232, 715, 0, parent, parent, EdgeAnchor{ANCHOR_KEEP_SIZE, 0},
                              parent, 0, kClientArea, client}));
    }

    void codeSides_measureFromClientEdges_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<FakeGeometry>("control");
        QTest::addColumn<int>("rightGap");
        QTest::addColumn<int>("bottomGap");
        const int codes[] = {ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_SCALE_SIZE, 0, -4};
        for (const int code : codes) {
            QTest::addRow("code %d, beyond the client area", code)
                << code << FakeGeometry{800, 450, 100, 80} << -19 << -26;
            QTest::addRow("code %d, on the client edges", code) << code << FakeGeometry{781, 424, 100, 80} << 0 << 0;
            QTest::addRow("code %d, inside", code) << code << FakeGeometry{100, 100, 100, 80} << 681 << 324;
        }
    }

    void codeSides_measureFromClientEdges()
    {
        QFETCH(int, code);
        QFETCH(FakeGeometry, control);
        QFETCH(int, rightGap);
        QFETCH(int, bottomGap);
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        windows.AddWindow(kControl, kClientArea, control);
        LayoutTable table;

        RegisterLayout(table, windows, kControl, code, code, code, code);

        const LayoutEntry &entry = table.at(0);
        QCOMPARE(entry.leftGap, control.x);
        QCOMPARE(entry.topGap, control.y);
        QCOMPARE(entry.rightGap, rightGap);
        QCOMPARE(entry.bottomGap, bottomGap);
        for (const EdgeAnchor &anchor : {entry.leftAnchor, entry.topAnchor, entry.rightAnchor, entry.bottomAnchor})
            QCOMPARE(anchor, (EdgeAnchor{code, 0}));
    }

    // The control spans 120..170 across and 100..180 down; the reference is
    // placed on the tested side's axis from refStart to refEnd.
    void referenceSide_choosesEdgeWithTieBreak_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("refStart");
        QTest::addColumn<int>("refEnd");
        QTest::addColumn<int>("sameEdge");
        QTest::addColumn<int>("gap");
        QTest::newRow("left, apart") << int(LeftSide) << 10 << 110 << 0 << 10;
        QTest::newRow("left, touching") << int(LeftSide) << 10 << 120 << 0 << 0;
        QTest::newRow("left, one pixel over") << int(LeftSide) << 10 << 121 << 1 << 110;
        QTest::newRow("left, reference beyond the control") << int(LeftSide) << 150 << 300 << 1 << -30;
        QTest::newRow("top, apart") << int(TopSide) << 20 << 90 << 0 << 10;
        QTest::newRow("top, touching") << int(TopSide) << 20 << 100 << 0 << 0;
        QTest::newRow("top, one pixel over") << int(TopSide) << 20 << 101 << 1 << 80;
        QTest::newRow("right, touching") << int(RightSide) << 170 << 230 << 1 << 60;
        QTest::newRow("right, one pixel apart") << int(RightSide) << 171 << 230 << 0 << 1;
        QTest::newRow("right, overlapping") << int(RightSide) << 150 << 160 << 1 << -10;
        QTest::newRow("bottom, touching") << int(BottomSide) << 180 << 240 << 0 << 0;
        QTest::newRow("bottom, apart") << int(BottomSide) << 200 << 240 << 0 << 20;
        QTest::newRow("bottom, one pixel over") << int(BottomSide) << 179 << 240 << 1 << 60;
    }

    void referenceSide_choosesEdgeWithTieBreak()
    {
        QFETCH(int, side);
        QFETCH(int, refStart);
        QFETCH(int, refEnd);
        QFETCH(int, sameEdge);
        QFETCH(int, gap);
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        windows.AddWindow(kControl, kClientArea, {120, 100, 50, 80});
        const bool horizontal = side == LeftSide || side == RightSide;
        windows.AddWindow(kReference, kClientArea,
                          horizontal ? FakeGeometry{refStart, 300, refEnd - refStart, 20}
                                     : FakeGeometry{600, refStart, 20, refEnd - refStart});
        int targets[4] = {ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT};
        targets[side] = kReference;
        LayoutTable table;

        RegisterLayout(table, windows, kControl, targets[0], targets[1], targets[2], targets[3]);

        const LayoutEntry &entry = table.at(0);
        const EdgeAnchor anchors[4] = {entry.leftAnchor, entry.topAnchor, entry.rightAnchor, entry.bottomAnchor};
        const int gaps[4] = {entry.leftGap, entry.topGap, entry.rightGap, entry.bottomGap};
        QCOMPARE(anchors[side], (EdgeAnchor{kReference, sameEdge}));
        QCOMPARE(gaps[side], gap);
        QCOMPARE(entry.width, 50);
        QCOMPARE(entry.height, 80);
    }

    void referenceInAnotherContainer_isMeasuredFromControlsParent()
    {
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        const WindowHandle container = 3;
        windows.AddWindow(container, kClientArea, {400, 50, 300, 300});
        windows.AddWindow(kReference, container, {10, 10, 40, 40}); // 410..450 in the client area
        windows.AddWindow(kControl, kClientArea, {500, 100, 50, 50});
        LayoutTable table;

        RegisterLayout(table, windows, kControl, kReference, kReference, ANCHOR_PARENT, ANCHOR_PARENT);

        QCOMPARE(table.at(0).leftAnchor, (EdgeAnchor{kReference, 0}));
        QCOMPARE(table.at(0).leftGap, 50);
        QCOMPARE(table.at(0).topAnchor, (EdgeAnchor{kReference, 0}));
        QCOMPARE(table.at(0).topGap, 0);
    }

    void centreFlags_areZeroWhenOmittedAndKeptWhenGiven()
    {
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        windows.AddWindow(kControl, kClientArea, {10, 10, 50, 50});
        LayoutTable table;

        RegisterLayout(table, windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT);
        RegisterLayout(table, windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT,
                       CENTER_H | CENTER_V);

        QCOMPARE(table.at(0).centerFlags, 0);
        QCOMPARE(table.at(1).centerFlags, 3);
    }

    void registeringTwice_appendsBothEntriesInOrder()
    {
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        windows.AddWindow(kControl, kClientArea, {10, 10, 50, 50});
        LayoutTable table;

        RegisterLayout(table, windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT);
        windows.Place(kControl, {20, 30, 40, 40});
        RegisterLayout(table, windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_KEEP_SIZE);

        QCOMPARE(table.size(), 2u);
        QCOMPARE(table[0].control, kControl);
        QCOMPARE(table[0].leftGap, 10);
        QCOMPARE(table[1].control, kControl);
        QCOMPARE(table[1].leftGap, 20);
        QCOMPARE(table[1].rightAnchor.target, ANCHOR_KEEP_SIZE);
    }
};

FOLIVAR_TEST(RegisterLayoutTest)
#include "RegisterLayoutTest.moc"
