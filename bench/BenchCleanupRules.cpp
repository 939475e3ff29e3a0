#include "BenchCleanupRules.h"

namespace {

CleanupRule Rule(const QString &pattern, const QString &replacement, bool isRegex)
{
    CleanupRule rule;
    rule.name = pattern;
    rule.pattern = pattern;
    rule.replacement = replacement;
    rule.isRegex = isRegex;
    return rule;
}

} // namespace

QList<CleanupRule> BenchCleanupRules()
{
    QList<CleanupRule> rules;
    // Words the generated novels use, changed as typo fixes are.
    for (const char *word : {"时间", "少年", "微笑"})
        rules.append(Rule(QString::fromUtf8(word), QString::fromUtf8(word).repeated(2), false));
    for (int i = 0; rules.size() < 40; ++i)
        rules.append(Rule(QStringLiteral("本站第%1号广告：请记住网址").arg(i), {}, false));
    for (const char *pattern :
         {R"(^\s*（本章完）\s*$)", R"([wW]{3}\.[a-z0-9]+\.(com|net|org))", R"(求(月票|推荐票|收藏|订阅))",
          R"(天才一秒记住.*)", R"(本章未完，请点击下一页继续阅读)", R"(^\s*PS[：:].*$)", R"(（未完待续[^）]*）)",
          R"(手机用户请浏览.{0,30}阅读)", R"(看见(.)姑娘)", R"(\d{3,}字)"})
        rules.append(Rule(QString::fromUtf8(pattern), QStringLiteral("$1"), true));
    return rules;
}
