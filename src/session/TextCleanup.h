#pragma once
// 净化规则 and 显示原文 for the session: the reader's rules, kept in the book
// store, and whether the open book is shown as it is. Any change shows the
// open book anew at the same place; a rule that runs away on a chapter is
// switched off for good and named.
#include "core/CleanupRule.h"
#include "core/TextCleaner.h"

#include <QObject>

class ReadingSession;
struct OpenBook;

class TextCleanup : public QObject {
    Q_OBJECT
public:
    explicit TextCleanup(ReadingSession &session);

    // The rules as the store keeps them, read once at the first call.
    const QList<CleanupRule> &Rules();
    // The rules become `rules`: the open book is shown with them at once
    // when they differ; they are written to the store when `keep` (a
    // confirmed change), else only shown (the rules window's changes before
    // 确定, and its 取消 putting them back).
    void SetRules(const QList<CleanupRule> &rules, bool keep);
    // 显示原文 for the open book: shown without rules, remembered per book.
    bool ShowsOriginal() const;
    void SetShowsOriginal(bool on);
    // What `book` is to be shown with.
    TextCleaner CleanerFor(const OpenBook &book);
    // These rules ran away on the chapter shown: they are switched off in the
    // store, and switchedOff names them.
    void SwitchOff(const QList<CleanupRule> &rules);

Q_SIGNALS:
    // A line for the strip.
    void switchedOff(const QString &message);
    // 显示原文 changed for the open book, or another book is open.
    void showsOriginalChanged(bool on);

private:
    ReadingSession &session_;
    std::optional<QList<CleanupRule>> rules_;
};
