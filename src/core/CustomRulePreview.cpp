#include "core/CustomRulePreview.h"

namespace {

// A check that runs longer ends with a message; one engine call more may
// pass before it notices, so the reader hears back within about two seconds.
constexpr std::chrono::milliseconds kCheckTimeLimit{1500};

} // namespace

CustomRulePreview::CustomRulePreview(const QString &text, QObject *parent)
    : QObject(parent), text_(text), thread_([this] { Work(); })
{}

CustomRulePreview::~CustomRulePreview()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    cancel_ = true;
    wake_.notify_one();
    thread_.join();
}

void CustomRulePreview::Check(const QString &pattern)
{
    {
        const std::lock_guard lock(mutex_);
        pending_ = pattern;
        ++generation_;
    }
    cancel_ = true;
    wake_.notify_one();
}

void CustomRulePreview::Work()
{
    for (;;) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || pending_; });
        if (stopping_)
            return;
        const QString pattern = *std::exchange(pending_, std::nullopt);
        const quint64 generation = generation_;
        cancel_ = false;
        lock.unlock();
        const CustomRuleCheck check = CheckCustomRule(pattern, text_, kCheckTimeLimit, cancel_);
        QMetaObject::invokeMethod(
            this, [this, pattern, check, generation] { HandOn(pattern, check, generation); }, Qt::QueuedConnection);
    }
}

// Runs on this object's thread; a check overtaken by a newer one is dropped.
void CustomRulePreview::HandOn(const QString &pattern, const CustomRuleCheck &check, quint64 generation)
{
    if (generation == generation_)
        Q_EMIT checked(pattern, check);
}
