#include "core/TextCleaner.h"

#include "core/CleanupExpression.h"

namespace {

// The replacement with $n and \n put in for group n (one digit), \x for
// any other character x.
QString Expanded(const QString &replacement, const QRegularExpressionMatch &match)
{
    if (!replacement.contains(u'$') && !replacement.contains(u'\\'))
        return replacement;
    QString expanded;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        const bool last = i + 1 == replacement.size();
        if (!last && (c == u'$' || c == u'\\') && replacement[i + 1].isDigit())
            expanded += match.captured(replacement[++i].digitValue());
        else if (!last && c == u'\\')
            expanded += replacement[++i];
        else
            expanded += c;
    }
    return expanded;
}

QList<CleanedText::Replacement> PlainMatches(const CleanupRule &rule, const QString &text, qsizetype most)
{
    QList<CleanedText::Replacement> found;
    for (qsizetype at = text.indexOf(rule.pattern); at >= 0 && found.size() < most;
         at = text.indexOf(rule.pattern, at + rule.pattern.size()))
        found.append({at, at + rule.pattern.size(), rule.replacement});
    return found;
}

} // namespace

TextCleaner::TextCleaner(const QList<CleanupRule> &rules, const QString &fileName)
{
    for (const CleanupRule &rule : rules)
        if (rule.enabled && rule.Cleans(fileName) && RuleProblem(rule).isEmpty())
            rules_.append({rule, rule.isRegex ? CleanupExpression(rule.pattern) : QRegularExpression()});
}

bool TextCleaner::Cleans(CleanupRule::Target target) const
{
    return std::any_of(rules_.cbegin(), rules_.cend(), [target](const Ready &r) { return r.rule.target & target; });
}

QList<CleanedText::Replacement> TextCleaner::MatchesOf(const Ready &ready, const QString &text, qsizetype most,
                                                       bool *ranAway)
{
    if (!ready.rule.isRegex)
        return PlainMatches(ready.rule, text, most);
    QList<CleanedText::Replacement> found;
    QRegularExpressionMatchIterator matches = ready.expression.globalMatch(text);
    while (matches.hasNext() && found.size() < most) {
        const QRegularExpressionMatch match = matches.next();
        if (match.capturedLength() > 0)
            found.append({match.capturedStart(), match.capturedEnd(), Expanded(ready.rule.replacement, match)});
    }
    // An iterator whose engine gave up reads as invalid.
    if (ranAway)
        *ranAway = !matches.isValid();
    return matches.isValid() ? found : QList<CleanedText::Replacement>();
}

QList<CleanedText::Replacement> TextCleaner::Matches(const CleanupRule &rule, const QString &text, qsizetype most,
                                                     bool *ranAway)
{
    if (!RuleProblem(rule).isEmpty())
        return {};
    return MatchesOf({rule, rule.isRegex ? CleanupExpression(rule.pattern) : QRegularExpression()}, text, most,
                     ranAway);
}

CleanedText TextCleaner::Clean(const QString &text, CleanupRule::Target target, QList<CleanupRule> *ranAway) const
{
    CleanedText cleaned(text);
    for (const Ready &ready : rules_) {
        if (!(ready.rule.target & target))
            continue;
        bool gaveUp = false;
        cleaned.Replace(MatchesOf(ready, cleaned.Shown(), cleaned.Shown().size() + 1, &gaveUp));
        if (gaveUp && ranAway)
            ranAway->append(ready.rule);
    }
    return cleaned;
}
