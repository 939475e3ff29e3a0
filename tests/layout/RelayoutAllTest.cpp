#include "layout/RelayoutAll.h"
#include "FakeWindowSystem.h"
#include "layout/RegisterLayout.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

constexpr WindowHandle kPane = 10;
constexpr WindowHandle kChapterList = 11;
constexpr WindowHandle kControl = 12;
constexpr WindowHandle kNearReference = 20;
constexpr WindowHandle kFarReference = 21;

// A fake client area of the given size holding one control.
struct OneControl {
    OneControl(int clientWidth, int clientHeight, FakeGeometry control)
    {
        AddClientArea(windows, clientWidth, clientHeight);
        windows.AddWindow(kControl, kClientArea, control);
    }

    FakeGeometry RelayoutAt(int clientWidth, int clientHeight)
    {
        windows.Resize(kClientArea, clientWidth, clientHeight);
        RelayoutAll(table, windows);
        return windows.Geometry(kControl);
    }

    FakeWindowSystem windows;
    LayoutTable table;
};

} // namespace

class RelayoutAllTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpRegistrations_followClientSizeAndRestore()
    {
        FakeWindowSystem windows;
        AddClientArea(windows, 881, 504);
        windows.AddWindow(kPane, kClientArea, {169, 0, 712, 504});
        windows.AddWindow(kChapterList, kClientArea, {1, 272, 165, 232});
        LayoutTable table;
        RegisterLayout(table, windows, kPane, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT);
        RegisterLayout(table, windows, kChapterList, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_PARENT);

        windows.Resize(kClientArea, 981, 554);
        RelayoutAll(table, windows);
        QCOMPARE(windows.Moves().size(), 2u);
        QCOMPARE(windows.Moves()[0].window, kPane);
        QCOMPARE(windows.Moves()[1].window, kChapterList);
        QVERIFY(windows.Moves()[0].repaint && windows.Moves()[1].repaint);
        QCOMPARE(windows.Geometry(kPane), (FakeGeometry{169, 0, 812, 554}));
        QCOMPARE(windows.Geometry(kChapterList), (FakeGeometry{1, 272, 165, 282}));

        windows.Resize(kClientArea, 881, 504);
        RelayoutAll(table, windows);
        QCOMPARE(windows.Geometry(kPane), (FakeGeometry{169, 0, 712, 504}));
        QCOMPARE(windows.Geometry(kChapterList), (FakeGeometry{1, 272, 165, 232}));

        // An empty client area gives sizes below zero; they reach the move as computed.
        windows.Resize(kClientArea, 0, 0);
        RelayoutAll(table, windows);
        QCOMPARE(windows.Geometry(kPane), (FakeGeometry{169, 0, -169, 0}));
        QCOMPARE(windows.Geometry(kChapterList), (FakeGeometry{1, 272, 165, -272}));

        windows.Resize(kClientArea, 881, 504);
        RelayoutAll(table, windows);
        QCOMPARE(windows.Geometry(kPane), (FakeGeometry{169, 0, 712, 504}));
        QCOMPARE(windows.Geometry(kChapterList), (FakeGeometry{1, 272, 165, 232}));
    }

    void emptyTable_movesNothing()
    {
        OneControl setup(881, 504, {5, 5, 50, 50});
        QCOMPARE(setup.RelayoutAt(300, 300), (FakeGeometry{5, 5, 50, 50}));
        QVERIFY(setup.windows.Moves().empty());
    }

    // References: the near one spans 0..10, the far one 69..100 (both 0..10 and
    // 69..100 down for the vertical case).
    void centring_truncatesTowardZeroOnce_data()
    {
        QTest::addColumn<int>("nearTarget");
        QTest::addColumn<int>("farTarget");
        QTest::addColumn<int>("clientSize");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("position");
        QTest::newRow("codes, 25.5") << ANCHOR_PARENT << ANCHOR_PARENT << 101 << 50 << 25;
        QTest::newRow("codes, -0.5") << ANCHOR_PARENT << ANCHOR_PARENT << 49 << 50 << 0;
        QTest::newRow("codes, -1.5") << ANCHOR_PARENT << ANCHOR_PARENT << 47 << 50 << -1;
        QTest::newRow("size codes act as edges") << ANCHOR_SCALE_SIZE << ANCHOR_KEEP_SIZE << 101 << 50 << 25;
        QTest::newRow("undefined codes act as edges") << 0 << -4 << 101 << 50 << 25;
        QTest::newRow("references, 9.5") << int(kNearReference) << int(kFarReference) << 881 << 60 << 9;
        QTest::newRow("reference and code") << int(kNearReference) << ANCHOR_PARENT << 101 << 50 << 30;
        QTest::newRow("code and reference") << ANCHOR_PARENT << int(kFarReference) << 881 << 60 << 4;
        QTest::newRow("code and reference, -0.5") << ANCHOR_KEEP_SIZE << int(kFarReference) << 881 << 70 << 0;
    }

    void centring_truncatesTowardZeroOnce()
    {
        QFETCH(int, nearTarget);
        QFETCH(int, farTarget);
        QFETCH(int, clientSize);
        QFETCH(int, size);
        QFETCH(int, position);

        for (const int flag : {CENTER_H, CENTER_V}) {
            const bool horizontal = flag == CENTER_H;
            OneControl setup(881, 504, horizontal ? FakeGeometry{20, 300, size, 40} : FakeGeometry{300, 20, 40, size});
            setup.windows.AddWindow(kNearReference, kClientArea, {0, 0, 10, 10});
            setup.windows.AddWindow(kFarReference, kClientArea, {69, 69, 31, 31});
            // The other axis keeps its anchors to the client edges.
            if (horizontal)
                RegisterLayout(setup.table, setup.windows, kControl, nearTarget, ANCHOR_KEEP_SIZE, farTarget,
                               ANCHOR_PARENT, flag);
            else
                RegisterLayout(setup.table, setup.windows, kControl, ANCHOR_KEEP_SIZE, nearTarget, ANCHOR_PARENT,
                               farTarget, flag);

            const FakeGeometry placed =
                horizontal ? setup.RelayoutAt(clientSize, 604) : setup.RelayoutAt(981, clientSize);

            if (horizontal)
                QCOMPARE(placed, (FakeGeometry{position, 400, size, 40}));
            else
                QCOMPARE(placed, (FakeGeometry{400, position, 40, size}));
        }
    }

    // The control stands at 120..170 across; each reference is registered at
    // its "before" place and has moved to its "after" place by the next pass.
    void references_carryTheirEdgeAlong_data()
    {
        QTest::addColumn<int>("leftTarget");
        QTest::addColumn<int>("rightTarget");
        QTest::addColumn<FakeGeometry>("nearBefore");
        QTest::addColumn<FakeGeometry>("nearAfter");
        QTest::addColumn<FakeGeometry>("farBefore");
        QTest::addColumn<FakeGeometry>("farAfter");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        const int nearRef = kNearReference, farRef = kFarReference;
        const FakeGeometry farAway{600, 0, 10, 10};
        QTest::newRow("left apart: follows its right edge")
            << nearRef << ANCHOR_KEEP_SIZE << FakeGeometry{10, 0, 100, 10} << FakeGeometry{10, 0, 150, 10} << farAway
            << farAway << 170 << 50;
        QTest::newRow("left overlapping: follows its left edge")
            << nearRef << ANCHOR_KEEP_SIZE << FakeGeometry{10, 0, 120, 10} << FakeGeometry{40, 0, 150, 10} << farAway
            << farAway << 150 << 50;
        QTest::newRow("right apart: right edge follows its left edge")
            << ANCHOR_PARENT << farRef << farAway << farAway << FakeGeometry{200, 0, 60, 10}
            << FakeGeometry{250, 0, 50, 10} << 120 << 100;
        QTest::newRow("right overlapping: right edge follows its right edge")
            << ANCHOR_PARENT << farRef << farAway << farAway << FakeGeometry{150, 0, 110, 10}
            << FakeGeometry{150, 0, 150, 10} << 120 << 90;
        QTest::newRow("left keep-size: placed from the right reference")
            << ANCHOR_KEEP_SIZE << farRef << farAway << farAway << FakeGeometry{200, 0, 60, 10}
            << FakeGeometry{250, 0, 50, 10} << 170 << 50;
        QTest::newRow("both references stretch the control")
            << nearRef << farRef << FakeGeometry{10, 0, 100, 10} << FakeGeometry{10, 0, 50, 10}
            << FakeGeometry{200, 0, 60, 10} << FakeGeometry{250, 0, 50, 10} << 70 << 150;
    }

    void references_carryTheirEdgeAlong()
    {
        QFETCH(int, leftTarget);
        QFETCH(int, rightTarget);
        QFETCH(FakeGeometry, nearBefore);
        QFETCH(FakeGeometry, nearAfter);
        QFETCH(FakeGeometry, farBefore);
        QFETCH(FakeGeometry, farAfter);
        QFETCH(int, x);
        QFETCH(int, width);
        OneControl setup(881, 504, {120, 100, 50, 80});
        setup.windows.AddWindow(kNearReference, kClientArea, nearBefore);
        setup.windows.AddWindow(kFarReference, kClientArea, farBefore);
        RegisterLayout(setup.table, setup.windows, kControl, leftTarget, ANCHOR_PARENT, rightTarget, ANCHOR_KEEP_SIZE);

        setup.windows.Place(kNearReference, nearAfter);
        setup.windows.Place(kFarReference, farAfter);

        QCOMPARE(setup.RelayoutAt(881, 504), (FakeGeometry{x, 100, width, 80}));
    }

    void verticalReferences_carryTheirEdgeAlong()
    {
        // 100..180 down, between a top reference ending at 90 and a bottom one
        // overlapping it from 170 to 200.
        OneControl setup(881, 504, {120, 100, 50, 80});
        setup.windows.AddWindow(kNearReference, kClientArea, {0, 20, 10, 70});
        setup.windows.AddWindow(kFarReference, kClientArea, {0, 170, 10, 30});
        RegisterLayout(setup.table, setup.windows, kControl, ANCHOR_PARENT, kNearReference, ANCHOR_KEEP_SIZE,
                       kFarReference);
        QCOMPARE(setup.table[0].topAnchor.sameEdge, 0);
        QCOMPARE(setup.table[0].bottomAnchor.sameEdge, 1);

        setup.windows.Place(kNearReference, {0, 20, 10, 100}); // now ends at 120
        setup.windows.Place(kFarReference, {0, 170, 10, 130}); // now ends at 300

        QCOMPARE(setup.RelayoutAt(881, 504), (FakeGeometry{120, 130, 50, 150}));
    }

    // Registered 165 wide at left 1 in a client 876 wide, now 1000 wide.
    void sizeCodes_keepOrScaleTheSize_data()
    {
        QTest::addColumn<int>("leftTarget");
        QTest::addColumn<int>("rightTarget");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        QTest::newRow("parent, parent") << ANCHOR_PARENT << ANCHOR_PARENT << 1 << 289;
        QTest::newRow("parent, keep") << ANCHOR_PARENT << ANCHOR_KEEP_SIZE << 1 << 165;
        QTest::newRow("parent, scale") << ANCHOR_PARENT << ANCHOR_SCALE_SIZE << 1 << 188;
        QTest::newRow("keep, parent") << ANCHOR_KEEP_SIZE << ANCHOR_PARENT << 125 << 165;
        QTest::newRow("scale, parent") << ANCHOR_SCALE_SIZE << ANCHOR_PARENT << 102 << 188;
        QTest::newRow("keep, scale: left decides") << ANCHOR_KEEP_SIZE << ANCHOR_SCALE_SIZE << 125 << 165;
        QTest::newRow("scale, keep: left decides") << ANCHOR_SCALE_SIZE << ANCHOR_KEEP_SIZE << 102 << 188;
        QTest::newRow("keep, undefined code: right edge kept") << ANCHOR_KEEP_SIZE << 0 << 125 << 165;
    }

    void sizeCodes_keepOrScaleTheSize()
    {
        QFETCH(int, leftTarget);
        QFETCH(int, rightTarget);
        QFETCH(int, x);
        QFETCH(int, width);
        OneControl setup(876, 504, {1, 272, 165, 232});
        RegisterLayout(setup.table, setup.windows, kControl, leftTarget, ANCHOR_PARENT, rightTarget, ANCHOR_PARENT);

        QCOMPARE(setup.RelayoutAt(1000, 504), (FakeGeometry{x, 272, width, 232}));
        QCOMPARE(setup.RelayoutAt(876, 504), (FakeGeometry{1, 272, 165, 232}));
    }

    void scaling_scalesHeightsAndNegativeClientSizes()
    {
        OneControl setup(876, 504, {1, 100, 165, 200});
        RegisterLayout(setup.table, setup.windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_SCALE_SIZE,
                       ANCHOR_SCALE_SIZE);

        // 200 * 757 / 504 = 300.39; 165 * -100 / 876 = -18.8
        QCOMPARE(setup.RelayoutAt(-100, 757), (FakeGeometry{1, 100, -18, 300}));
    }

    void scaling_fromEmptyClientArea_keepsRegisteredSize()
    {
        OneControl setup(0, 0, {1, 2, 165, 232});
        RegisterLayout(setup.table, setup.windows, kControl, ANCHOR_SCALE_SIZE, ANCHOR_PARENT, ANCHOR_PARENT,
                       ANCHOR_SCALE_SIZE);

        // The right edge keeps its distance (-166) to the client's right edge.
        QCOMPARE(setup.RelayoutAt(500, 400), (FakeGeometry{500 + 166 - 165, 2, 165, 232}));
    }

    void undefinedTargets_leaveTheirAxisAsRegistered_data()
    {
        QTest::addColumn<int>("leftTarget");
        QTest::addColumn<int>("rightTarget");
        QTest::addColumn<bool>("withReference");
        QTest::newRow("left 0") << 0 << ANCHOR_PARENT << false;
        QTest::newRow("left -4") << -4 << ANCHOR_SCALE_SIZE << false;
        QTest::newRow("right 0") << ANCHOR_PARENT << 0 << false;
        QTest::newRow("right -7 after a reference") << int(kNearReference) << -7 << true;
    }

    void undefinedTargets_leaveTheirAxisAsRegistered()
    {
        QFETCH(int, leftTarget);
        QFETCH(int, rightTarget);
        QFETCH(bool, withReference);
        OneControl setup(881, 504, {120, 100, 50, 80});
        setup.windows.AddWindow(kNearReference, kClientArea, {10, 0, 100, 10});
        RegisterLayout(setup.table, setup.windows, kControl, leftTarget, ANCHOR_PARENT, rightTarget, ANCHOR_PARENT);
        if (withReference)
            setup.windows.Place(kNearReference, {10, 0, 300, 10});

        // The vertical axis still follows its rules.
        QCOMPARE(setup.RelayoutAt(1200, 604), (FakeGeometry{120, 100, 50, 180}));
    }

    void registeredTwice_laterEntryWins()
    {
        OneControl setup(881, 504, {100, 100, 50, 50});
        RegisterLayout(setup.table, setup.windows, kControl, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT,
                       ANCHOR_PARENT);
        RegisterLayout(setup.table, setup.windows, kControl, ANCHOR_KEEP_SIZE, ANCHOR_KEEP_SIZE, ANCHOR_PARENT,
                       ANCHOR_PARENT);

        QCOMPARE(setup.RelayoutAt(981, 604), (FakeGeometry{200, 200, 50, 50}));
        QCOMPARE(setup.windows.Moves().size(), 2u);
        QCOMPARE(setup.windows.Moves()[0].geometry, (FakeGeometry{100, 100, 150, 150}));
    }

    void pass_seesEarlierEntriesMovedAndLaterOnesUnmoved()
    {
        // The pane stretches; the follower sits 5 pixels right of the pane and
        // the leader, registered after its own follower, moves with the right edge.
        FakeWindowSystem windows;
        AddClientArea(windows, 500, 300);
        const WindowHandle follower = 30, leader = 31, earlyFollower = 32;
        windows.AddWindow(kPane, kClientArea, {0, 0, 300, 100});
        windows.AddWindow(follower, kClientArea, {305, 0, 50, 50});
        windows.AddWindow(earlyFollower, kClientArea, {405, 100, 50, 50});
        windows.AddWindow(leader, kClientArea, {300, 100, 100, 50});
        LayoutTable table;
        RegisterLayout(table, windows, kPane, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE);
        RegisterLayout(table, windows, follower, kPane, ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_KEEP_SIZE);
        RegisterLayout(table, windows, earlyFollower, leader, ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_KEEP_SIZE);
        RegisterLayout(table, windows, leader, ANCHOR_KEEP_SIZE, ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE);

        windows.Resize(kClientArea, 600, 300);
        RelayoutAll(table, windows);
        QCOMPARE(windows.Geometry(follower).x, 405);
        QCOMPARE(windows.Geometry(earlyFollower).x, 405);
        QCOMPARE(windows.Geometry(leader).x, 400);

        RelayoutAll(table, windows);
        QCOMPARE(windows.Geometry(earlyFollower).x, 505);
    }
};

FOLIVAR_TEST(RelayoutAllTest)
#include "RelayoutAllTest.moc"
