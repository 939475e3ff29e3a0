#include "TestRegistry.h"

#include <QApplication>
#include <QTest>

namespace testsupport {

std::vector<TestFactory> &RegisteredTests()
{
    static std::vector<TestFactory> tests;
    return tests;
}

} // namespace testsupport

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto &makeTest : testsupport::RegisteredTests()) {
        const std::unique_ptr<QObject> test = makeTest();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
