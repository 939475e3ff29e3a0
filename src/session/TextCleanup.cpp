#include "session/TextCleanup.h"

#include "core/BookStore.h"
#include "session/Log.h"
#include "session/ReadingSession.h"

namespace {

QStringList NamesOf(const QList<CleanupRule> &rules)
{
    QStringList names;
    for (const CleanupRule &rule : rules)
        names.append(QStringLiteral("「%1」").arg(rule.name.isEmpty() ? rule.pattern : rule.name));
    return names;
}

} // namespace

TextCleanup::TextCleanup(ReadingSession &session) : session_(session) {}

const QList<CleanupRule> &TextCleanup::Rules()
{
    if (!rules_)
        rules_ = session_.Store().CleanupRules();
    return *rules_;
}

void TextCleanup::SetRules(const QList<CleanupRule> &rules, bool keep)
{
    if (keep)
        session_.Store().PutCleanupRules(rules);
    if (rules == Rules())
        return;
    rules_ = rules;
    session_.CleanAnew();
}

bool TextCleanup::ShowsOriginal() const
{
    return session_.HasBook() && session_.Store().ShowsOriginal(session_.Book().RecordKey());
}

void TextCleanup::SetShowsOriginal(bool on)
{
    if (!session_.HasBook() || on == ShowsOriginal())
        return;
    session_.Store().SetShowsOriginal(session_.Book().RecordKey(), on);
    session_.CleanAnew();
    Q_EMIT showsOriginalChanged(on);
}

TextCleaner TextCleanup::CleanerFor(const OpenBook &book)
{
    if (session_.Store().ShowsOriginal(book.RecordKey()))
        return {};
    return TextCleaner(Rules(), book.fileName);
}

void TextCleanup::SwitchOff(const QList<CleanupRule> &rules)
{
    QList<CleanupRule> all = Rules();
    for (CleanupRule &rule : all)
        if (rules.contains(rule))
            rule.enabled = false;
    qCWarning(lcSession) << "cleanup rules ran away and are switched off:" << NamesOf(rules);
    rules_ = all;
    session_.Store().PutCleanupRules(all);
    Q_EMIT switchedOff(QStringLiteral("净化规则%1运行过久，已停用").arg(NamesOf(rules).join(u'、')));
}
