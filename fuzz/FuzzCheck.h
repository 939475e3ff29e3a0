#pragma once
// What the fuzzers share: a failed check prints what differed and aborts, so
// libFuzzer keeps the input that caused it.
#include <QDebug>
#include <QString>

#include <cstdio>
#include <cstdlib>

// Text as QDebug quotes it: unprintable characters and lone surrogates escaped.
template <typename T>
QString Shown(const T &value)
{
    QString shown;
    QDebug(&shown) << value;
    return shown;
}

[[noreturn]] inline void FailFuzzCheck(const char *condition, const QString &details)
{
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", condition, details.toUtf8().constData());
    std::abort();
}

// The details are only put together when the check fails.
#define FUZZ_REQUIRE(condition, details)                                                                               \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            FailFuzzCheck(#condition, details);                                                                        \
    } while (false)
