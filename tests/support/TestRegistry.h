#pragma once
// Lets one test executable per folder hold several QtTest classes, each in its
// own file: a file registers its class with FOLIVAR_TEST(Class) and the shared
// main runs every registered class in turn.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

std::vector<TestFactory> &RegisteredTests();

struct TestRegistration {
    explicit TestRegistration(TestFactory factory) { RegisteredTests().push_back(std::move(factory)); }
};

} // namespace TestSupport

#define FOLIVAR_TEST(Class)                                                                                            \
    static const TestSupport::TestRegistration registration_##Class(                                                   \
        [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); });
