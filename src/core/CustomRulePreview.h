#pragma once
// Checks a reader's own chapter expression against a book on a thread of its
// own, so that typing the expression never waits for the engine.
#include "core/ChapterRules.h"

#include <QObject>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class CustomRulePreview : public QObject {
    Q_OBJECT
public:
    // Checks against `text` (the book's, shared, not copied).
    explicit CustomRulePreview(const QString &text, QObject *parent = nullptr);
    // Stops the check running, if any, and waits for its thread.
    ~CustomRulePreview() override;

    // Starts checking `pattern`. A check still running is cancelled, and of
    // the checks asked for meanwhile only the newest is run. `checked`
    // follows on this object's thread, for the newest pattern only.
    void Check(const QString &pattern);

Q_SIGNALS:
    void checked(const QString &pattern, const CustomRuleCheck &check);

private:
    void Work();
    void HandOn(const QString &pattern, const CustomRuleCheck &check, quint64 generation);

    const QString text_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<QString> pending_; // guarded by mutex_
    bool stopping_ = false;          // guarded by mutex_
    std::atomic_bool cancel_ = false;
    std::atomic<quint64> generation_ = 0;
    std::thread thread_;
};
