#pragma once
// Checks a reader's own chapter expression against a book in Qt's thread
// pool, so that typing the expression never waits for the engine. Each check
// is a job of its own; a newer one cancels the older, and only the newest
// job's result is ever handed on.
#include "core/ChapterRules.h"

#include <QFuture>
#include <QList>
#include <QObject>

#include <atomic>
#include <memory>

class CustomRulePreview : public QObject {
    Q_OBJECT
public:
    // Checks against `text` (the book's, shared, not copied).
    explicit CustomRulePreview(const QString &text, QObject *parent = nullptr);
    // Cancels the check running, if any, and waits for it.
    ~CustomRulePreview() override;

    // Starts checking `pattern`; a check still running is cancelled.
    // `checked` follows on this object's thread, for the newest pattern only.
    void Check(const QString &pattern);

Q_SIGNALS:
    void checked(const QString &pattern, const CustomRuleCheck &check);

private:
    void HandOn(quint64 job, const QString &pattern, const CustomRuleCheck &check);

    const QString text_;
    quint64 newest_ = 0;
    // The newest job's own flag: set, that job stops at its next look.
    std::shared_ptr<std::atomic_bool> cancelNewest_;
    QList<QFuture<void>> jobs_;
};
