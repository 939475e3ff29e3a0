#include "session/TextCleanup.h"

#include "core/BookStore.h"
#include "session/Log.h"
#include "session/ReadingSession.h"

namespace {

// More than this many places are told as "more than".
constexpr qsizetype kMostCounted = 9999;
constexpr qsizetype kPlacesShown = 3;
// Characters of a place shown, at most.
constexpr qsizetype kPlaceText = 20;

QString Cut(QStringView text)
{
    const QString line = text.left(kPlaceText).toString().replace(u'\n', u' ').remove(u'\r');
    return text.size() > kPlaceText ? line + u'…' : line;
}

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

QString TextCleanup::Preview(const CleanupRule &rule) const
{
    if (QString problem = RuleProblem(rule); !problem.isEmpty())
        return problem;
    if (!session_.HasBook())
        return QStringLiteral("没有打开的书");
    const QString &text = session_.Book().BookText;
    bool ranAway = false;
    const QList<CleanedText::Replacement> found = TextCleaner::Matches(rule, text, kMostCounted + 1, &ranAway);
    if (ranAway)
        return QStringLiteral("表达式运行过久，无法使用");
    if (found.isEmpty())
        return QStringLiteral("本书中没有要替换的地方");
    QStringList places;
    for (qsizetype i = 0; i < qMin(found.size(), kPlacesShown); ++i) {
        const CleanedText::Replacement &place = found[i];
        places.append(QStringLiteral("「%1」→「%2」")
                          .arg(Cut(QStringView(text).sliced(place.start, place.end - place.start)), Cut(place.with)));
    }
    const QString count =
        found.size() > kMostCounted ? QStringLiteral("超过 %1").arg(kMostCounted) : QString::number(found.size());
    return QStringLiteral("本书共 %1 处：%2").arg(count, places.join(QStringLiteral("；")));
}
