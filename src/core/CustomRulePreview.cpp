#include "core/CustomRulePreview.h"

#include <QtConcurrent/QtConcurrentRun>

namespace {

// A check that runs longer ends with a message; one engine call more may
// pass before it notices, so the reader hears back within about two seconds.
constexpr std::chrono::milliseconds kCheckTimeLimit{1500};

} // namespace

CustomRulePreview::CustomRulePreview(const QString &text, QObject *parent) : QObject(parent), text_(text) {}

CustomRulePreview::~CustomRulePreview()
{
    if (cancelNewest_)
        *cancelNewest_ = true;
    for (QFuture<void> &job : jobs_)
        job.waitForFinished();
}

void CustomRulePreview::Check(const QString &pattern)
{
    if (cancelNewest_)
        *cancelNewest_ = true;
    jobs_.removeIf([](const QFuture<void> &job) { return job.isFinished(); });
    const quint64 job = ++newest_;
    cancelNewest_ = std::make_shared<std::atomic_bool>(false);
    // This object waits for its jobs before it goes, so a job may call back.
    jobs_.append(QtConcurrent::run([this, job, pattern, text = text_, cancel = cancelNewest_] {
        const CustomRuleCheck check = CheckCustomRule(pattern, text, kCheckTimeLimit, *cancel);
        QMetaObject::invokeMethod(
            this, [this, job, pattern, check] { HandOn(job, pattern, check); }, Qt::QueuedConnection);
    }));
}

// A check overtaken by a newer one is dropped, cancelled or not.
void CustomRulePreview::HandOn(quint64 job, const QString &pattern, const CustomRuleCheck &check)
{
    if (job == newest_)
        Q_EMIT checked(pattern, check);
}
