#include "core/CleanupRule.h"

#include "core/CleanupExpression.h"

QString RuleProblem(const CleanupRule &rule)
{
    if (rule.pattern.isEmpty())
        return QStringLiteral("查找的内容是空的");
    if (!rule.isRegex)
        return {};
    const QRegularExpression expression = CleanupExpression(rule.pattern);
    if (!expression.isValid())
        return QStringLiteral("表达式有误（第 %1 个字符）：%2")
            .arg(expression.patternErrorOffset() + 1 - kCleanupLimitLength)
            .arg(expression.errorString());
    if (expression.match(QString()).hasMatch())
        return QStringLiteral("表达式能匹配空文本，会处处替换");
    return {};
}
