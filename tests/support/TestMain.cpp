#include "support/TestRegistry.h"

#include <QTest>

#ifdef FOLIVAR_TESTS_WITHOUT_WIDGETS
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

namespace TestSupport {

std::vector<TestFactory> &RegisteredTests()
{
    static std::vector<TestFactory> tests;
    return tests;
}

} // namespace TestSupport

int main(int argc, char **argv)
{
    TestApplication app(argc, argv);
    int failures = 0;
    for (const auto &makeTest : TestSupport::RegisteredTests()) {
        const std::unique_ptr<QObject> test = makeTest();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
