#include "core/ChapterRules.h"

#include "core/Log.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace {

constexpr int kPreviewTitles = 20;

QString MatchesEmptyProblem()
{
    return QStringLiteral("表达式能匹配空文本，不能用来分章");
}

QRegularExpression CustomExpression(const QString &pattern)
{
    return QRegularExpression(pattern,
                              QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption);
}

QString WithoutLineEnd(QString title)
{
    while (title.endsWith(u'\r') || title.endsWith(u'\n'))
        title.chop(1);
    return title;
}

// How a walk over the text ended: at its end, or where the engine gave up
// (backtracking limits) or the time ran out.
struct WalkEnd {
    enum Reason { Finished, EngineGaveUp, OutOfTime };
    Reason reason = Finished;
    qsizetype at = 0; // where the search stood
};

// Walks the expression over the text a line at a time: a match is a heading
// from where it starts to the end of its line (CR included), and the search
// goes on at the next line. Each heading goes to `take` until the text ends,
// `take` says stop, the engine gives up or the deadline passes.
template <typename Take>
WalkEnd WalkHeadings(const QRegularExpression &expression, QStringView text, const QDeadlineTimer &deadline, Take take)
{
    QString copy;
    const QStringView subject = WellFormedSubject(text, copy);
    qsizetype from = 0;
    while (from < subject.size()) {
        const QRegularExpressionMatch match = expression.match(subject, from, QRegularExpression::NormalMatch,
                                                               QRegularExpression::DontCheckSubjectStringMatchOption);
        if (!match.isValid())
            return {WalkEnd::EngineGaveUp, from};
        if (!match.hasMatch())
            return {};
        const qsizetype start = match.capturedStart();
        const qsizetype lineFeed = subject.indexOf(u'\n', start);
        const qsizetype lineEnd = lineFeed < 0 ? subject.size() : lineFeed;
        if (!take(start, lineEnd - start, match.capturedLength() == 0))
            return {};
        if (deadline.hasExpired())
            return {WalkEnd::OutOfTime, lineEnd + 1};
        from = lineEnd + 1;
    }
    return {};
}

// Why a walk stopped early, for the reader; empty when it did not.
QString WalkProblem(const WalkEnd &end, std::chrono::milliseconds timeLimit)
{
    switch (end.reason) {
    case WalkEnd::EngineGaveUp:
        return QStringLiteral("表达式过于复杂，引擎在第 %1 个字符附近放弃了匹配（回溯太多）").arg(end.at + 1);
    case WalkEnd::OutOfTime:
        return QStringLiteral("匹配太慢，超过了 %1 秒").arg(double(timeLimit.count()) / 1000);
    case WalkEnd::Finished:
        break;
    }
    return {};
}

} // namespace

QString ChapterRule::Key() const
{
    switch (kind) {
    case Strict:
        return QStringLiteral("strict");
    case Custom:
        return QStringLiteral("custom:") + pattern;
    case Default:
        break;
    }
    return {};
}

ChapterRule ChapterRule::FromKey(const QString &key)
{
    if (key == u"strict")
        return {Strict, {}};
    if (key.startsWith(u"custom:"))
        return {Custom, key.mid(7)};
    return {};
}

const QRegularExpression &StrictChapterPattern()
{
    // \K leaves the indentation out of the heading. The first lookahead turns
    // away a prose line by its first character before the second one measures
    // the line, which holds a heading to 40 characters.
    static const QRegularExpression pattern(
        QStringLiteral(
            R"(^[ \t\x{3000}]*+\K(?=[第序楔引前后尾番终一二三四五六七八九十零])(?=[^\r\n]{1,40}\r?$))"
            R"((?:第[ \t\x{3000}]*[零〇一二两三四五六七八九十百千万亿壹贰叁肆伍陆柒捌玖拾佰仟0-9０-９]{1,12}[ \t\x{3000}]*[章回卷节集部])"
            R"(|序章|楔子|引子|序言|前言|后记|尾声|番外|终章|[一二三四五六七八九十零]+、)[^\n]*)"),
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

QList<ChapterHeading> FindHeadingsByRule(QStringView text, const ChapterRule &rule, QDeadlineTimer deadline,
                                         bool *outOfTime)
{
    if (rule.kind == ChapterRule::Default)
        return FindChapterHeadings(text);
    const QRegularExpression expression =
        rule.kind == ChapterRule::Strict ? StrictChapterPattern() : CustomExpression(rule.pattern);
    QList<ChapterHeading> headings;
    const WalkEnd end = WalkHeadings(expression, text, deadline, [&](qsizetype at, qsizetype length, bool empty) {
        if (!empty)
            headings.append({at, text.sliced(at, length).toString()});
        return true;
    });
    if (outOfTime)
        *outOfTime = end.reason == WalkEnd::OutOfTime;
    if (end.reason != WalkEnd::Finished)
        qCWarning(lcCore) << "chapter rule" << rule.Key() << "stopped at position" << end.at
                          << (end.reason == WalkEnd::OutOfTime ? "out of time" : "the engine gave up")
                          << expression.errorString();
    return headings;
}

CustomRuleCheck CheckCustomRule(const QString &pattern, const QString &text, std::chrono::milliseconds timeLimit,
                                const std::atomic_bool &cancel)
{
    CustomRuleCheck check;
    const QRegularExpression expression = CustomExpression(pattern);
    if (pattern.isEmpty())
        check.problem = QStringLiteral("请输入正则表达式");
    else if (!expression.isValid())
        check.problem = QStringLiteral("表达式有误（第 %1 个字符）：%2")
                            .arg(expression.patternErrorOffset() + 1)
                            .arg(expression.errorString());
    else if (expression.match(QString()).hasMatch())
        check.problem = MatchesEmptyProblem();
    if (!check.problem.isEmpty())
        return check;
    bool matchedEmpty = false;
    const WalkEnd end =
        WalkHeadings(expression, text, QDeadlineTimer(timeLimit), [&](qsizetype at, qsizetype length, bool empty) {
            matchedEmpty = matchedEmpty || empty;
            if (check.firstTitles.size() < kPreviewTitles)
                check.firstTitles.append(WithoutLineEnd(text.mid(at, length)));
            ++check.found;
            return !matchedEmpty && !cancel.load();
        });
    check.problem = WalkProblem(end, timeLimit);
    if (matchedEmpty)
        check.problem = MatchesEmptyProblem();
    return check;
}
