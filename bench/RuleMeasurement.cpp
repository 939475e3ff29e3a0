#include "RuleMeasurement.h"

#include "Median.h"
#include "core/ChapterRules.h"

#include <QElapsedTimer>

namespace {

constexpr int kRuns = 3;

template <typename Work>
double MedianMs(Work work)
{
    QList<double> times;
    QElapsedTimer timer;
    for (int run = 0; run < kRuns; ++run) {
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

} // namespace

Measurement MeasureChapterRules(const QString &text)
{
    qsizetype strictHeadings = 0;
    const double defaultMs = MedianMs([&] { FindHeadingsByRule(text, {}); });
    const double strictMs = MedianMs([&] {
        strictHeadings = FindHeadingsByRule(text, {ChapterRule::Strict, {}}).size();
    });
    const std::atomic_bool cancel = false;
    CustomRuleCheck check;
    const auto checkMs = [&](const QString &pattern) {
        return MedianMs([&] { check = CheckCustomRule(pattern, text, std::chrono::seconds(2), cancel); });
    };
    Measurement measurement = {{MeasurementKey::kIndexDefaultMs, defaultMs},
                               {MeasurementKey::kIndexStrictMs, strictMs},
                               {MeasurementKey::kStrictHeadings, double(strictHeadings)},
                               {MeasurementKey::kCustomCheckMs, checkMs(QStringLiteral("^第.{1,12}章"))},
                               {MeasurementKey::kCustomHeadings, double(check.found)}};
    measurement.insert(MeasurementKey::kCatastrophicCheckMs, checkMs(QStringLiteral(R"(^(\S+)+\d)")));
    measurement.insert(MeasurementKey::kCatastrophicRefused, check.problem.isEmpty() ? 0 : 1);
    return measurement;
}
