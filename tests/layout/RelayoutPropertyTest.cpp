#include "FakeWindowSystem.h"
#include "layout/RegisterLayout.h"
#include "layout/RelayoutAll.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QSize>
#include <QTest>

namespace {

constexpr WindowHandle kFirstReference = 100;
constexpr int kReferenceCount = 3;
constexpr WindowHandle kFirstControl = 10;

// Unregistered reference controls that nothing moves, and registered controls
// whose references are those or controls registered before them.
struct Scenario {
    FakeWindowSystem windows;
    LayoutTable table;
    QSize registrationClient;
    std::vector<WindowHandle> controls;
};

int Between(QRandomGenerator &random, int lowest, int highest)
{
    return lowest + int(random.bounded(quint32(highest - lowest + 1)));
}

FakeGeometry RandomGeometry(QRandomGenerator &random, QSize client)
{
    return {Between(random, -100, client.width() + 100), Between(random, -100, client.height() + 100),
            Between(random, 0, 400), Between(random, 0, 400)};
}

int RandomTarget(QRandomGenerator &random, const std::vector<WindowHandle> &earlierControls)
{
    const int pick = Between(random, 0, 9);
    if (pick < 5)
        return -1 - Between(random, 0, 2); // the three anchor codes
    if (pick == 5)
        return random.bounded(2) ? 0 : -4; // codes without a rule
    if (pick < 8 || earlierControls.empty())
        return kFirstReference + Between(random, 0, kReferenceCount - 1);
    return earlierControls[random.bounded(quint32(earlierControls.size()))];
}

QSize RandomClient(QRandomGenerator &random)
{
    // Now and then an empty client area.
    if (random.bounded(20) == 0)
        return {0, 0};
    return {Between(random, 0, 1500), Between(random, 0, 1000)};
}

Scenario RandomScenario(QRandomGenerator &random, bool withCentring)
{
    Scenario scenario;
    scenario.registrationClient = RandomClient(random);
    AddClientArea(scenario.windows, scenario.registrationClient.width(), scenario.registrationClient.height());
    for (int i = 0; i < kReferenceCount; ++i)
        scenario.windows.AddWindow(kFirstReference + i, kClientArea,
                                   RandomGeometry(random, scenario.registrationClient));
    const int controlCount = Between(random, 1, 8);
    for (int i = 0; i < controlCount; ++i) {
        const WindowHandle control = kFirstControl + i;
        scenario.windows.AddWindow(control, kClientArea, RandomGeometry(random, scenario.registrationClient));
        const int left = RandomTarget(random, scenario.controls);
        const int top = RandomTarget(random, scenario.controls);
        const int right = RandomTarget(random, scenario.controls);
        const int bottom = RandomTarget(random, scenario.controls);
        const int centre = withCentring ? Between(random, 0, 3) : 0;
        RegisterLayout(scenario.table, scenario.windows, control, left, top, right, bottom, centre);
        scenario.controls.push_back(control);
    }
    return scenario;
}

std::vector<FakeGeometry> GeometryOf(const FakeWindowSystem &windows, const std::vector<WindowHandle> &controls)
{
    std::vector<FakeGeometry> geometry;
    geometry.reserve(controls.size());
    for (const WindowHandle control : controls)
        geometry.push_back(windows.Geometry(control));
    return geometry;
}

void RelayoutAt(Scenario &scenario, QSize client)
{
    scenario.windows.Resize(kClientArea, client.width(), client.height());
    RelayoutAll(scenario.table, scenario.windows);
}

} // namespace

class RelayoutPropertyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void passAtRegistrationSize_restoresEveryControl()
    {
        QRandomGenerator random(20240611);
        for (int iteration = 0; iteration < 2000; ++iteration) {
            Scenario scenario = RandomScenario(random, false);
            const std::vector<FakeGeometry> registered = GeometryOf(scenario.windows, scenario.controls);
            for (int round = 0; round < 3; ++round) {
                const int passes = Between(random, 0, 4);
                for (int pass = 0; pass < passes; ++pass)
                    RelayoutAt(scenario, RandomClient(random));
                RelayoutAt(scenario, scenario.registrationClient);
                if (GeometryOf(scenario.windows, scenario.controls) != registered)
                    QFAIL(qPrintable(QStringLiteral("iteration %1, round %2").arg(iteration).arg(round)));
            }
        }
    }

    void pass_dependsOnlyOnCurrentClientSize()
    {
        QRandomGenerator random(7331);
        for (int iteration = 0; iteration < 1000; ++iteration) {
            Scenario scenario = RandomScenario(random, true);
            const Scenario untouched = scenario;
            const int passes = Between(random, 1, 8);
            for (int pass = 0; pass < passes; ++pass) {
                const QSize client = RandomClient(random);
                RelayoutAt(scenario, client);
                Scenario fresh = untouched;
                RelayoutAt(fresh, client);
                if (GeometryOf(scenario.windows, scenario.controls) != GeometryOf(fresh.windows, fresh.controls))
                    QFAIL(qPrintable(QStringLiteral("iteration %1, pass %2").arg(iteration).arg(pass)));
            }
        }
    }
};

FOLIVAR_TEST(RelayoutPropertyTest)
#include "RelayoutPropertyTest.moc"
