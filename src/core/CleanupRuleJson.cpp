#include "core/CleanupRuleJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

struct Placed {
    double order = 0;
    CleanupRule rule;
};

// How a rule is named to the user: by its name, or by its place when it has
// none.
QString RuleLabel(const QString &name, qsizetype index)
{
    return name.isEmpty() ? QStringLiteral("第 %1 条").arg(index + 1) : QStringLiteral("“%1”").arg(name);
}

// Each takes the member into `value` when it is there (null counts as not
// there) and returns false when it is of another type.
bool Take(const QJsonValue &member, QString &value)
{
    if (member.isString())
        value = member.toString();
    return member.isString() || member.isNull() || member.isUndefined();
}

bool Take(const QJsonValue &member, bool &value)
{
    if (member.isBool())
        value = member.toBool();
    return member.isBool() || member.isNull() || member.isUndefined();
}

bool Take(const QJsonValue &member, double &value)
{
    if (member.isDouble())
        value = member.toDouble();
    return member.isDouble() || member.isNull() || member.isUndefined();
}

// The rule the object holds; on a member of the wrong type, nullopt and the
// member's name in `wrong`.
std::optional<Placed> PlacedRule(const QJsonObject &object, double place, QString &wrong)
{
    Placed placed{place, {}};
    CleanupRule &rule = placed.rule;
    bool titles = true;
    bool content = true;
    const auto take = [&object, &wrong](const char *key, auto &value) {
        if (!wrong.isEmpty() || Take(object.value(QLatin1StringView(key)), value))
            return;
        wrong = QLatin1StringView(key);
    };
    take("name", rule.name);
    take("pattern", rule.pattern);
    take("replacement", rule.replacement);
    take("isRegex", rule.isRegex);
    take("scope", rule.scope);
    take("isEnabled", rule.enabled);
    take("order", placed.order);
    take("scopeTitle", titles);
    take("scopeContent", content);
    if (!wrong.isEmpty())
        return std::nullopt;
    rule.target = CleanupRule::Target((titles ? CleanupRule::Titles : 0) | (content ? CleanupRule::Content : 0));
    return placed;
}

// The rule at `index` of the file, or the reason it is refused.
std::optional<Placed> ReadRule(const QJsonValue &element, qsizetype index, QString &problem)
{
    if (!element.isObject()) {
        problem = QStringLiteral("第 %1 条不是一条规则（JSON 对象）").arg(index + 1);
        return std::nullopt;
    }
    const QJsonObject object = element.toObject();
    QString wrong;
    std::optional<Placed> placed = PlacedRule(object, double(index), wrong);
    const QString label = RuleLabel(object.value(QLatin1StringView("name")).toString(), index);
    if (!placed)
        problem = QStringLiteral("规则%1的 %2 类型不对").arg(label, wrong);
    else if (int(placed->rule.target) == 0)
        problem = QStringLiteral("规则%1既不作用于正文，也不作用于标题").arg(label);
    else if (const QString unusable = RuleProblem(placed->rule); !unusable.isEmpty())
        problem = QStringLiteral("规则%1不能用：%2").arg(label, unusable);
    return problem.isEmpty() ? placed : std::nullopt;
}

} // namespace

ReadCleanupRules RulesFromJson(const QByteArray &json, const QString &fileName)
{
    const auto refused = [&fileName](const QString &why) {
        return ReadCleanupRules{{}, QStringLiteral("无法导入 %1：%2").arg(fileName, why)};
    };
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return refused(
            QStringLiteral("不是 JSON 文件（第 %1 个字节：%2）").arg(error.offset + 1).arg(error.errorString()));
    if (!document.isArray())
        return refused(QStringLiteral("文件里应是一组规则（JSON 数组）"));
    const QJsonArray array = document.array();
    QList<Placed> placed;
    for (qsizetype i = 0; i < array.size(); ++i) {
        QString problem;
        std::optional<Placed> rule = ReadRule(array[i], i, problem);
        if (!rule)
            return refused(problem);
        placed.append(std::move(*rule));
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.order < b.order; });
    ReadCleanupRules read;
    for (Placed &rule : placed)
        read.rules.append(std::move(rule.rule));
    return read;
}

QByteArray RulesToJson(const QList<CleanupRule> &rules)
{
    QJsonArray array;
    for (qsizetype i = 0; i < rules.size(); ++i) {
        const CleanupRule &rule = rules[i];
        array.append(QJsonObject{
            {QStringLiteral("name"), rule.name},
            {QStringLiteral("pattern"), rule.pattern},
            {QStringLiteral("replacement"), rule.replacement},
            {QStringLiteral("isRegex"), rule.isRegex},
            {QStringLiteral("scope"), rule.scope},
            {QStringLiteral("scopeTitle"), (rule.target & CleanupRule::Titles) != 0},
            {QStringLiteral("scopeContent"), (rule.target & CleanupRule::Content) != 0},
            {QStringLiteral("isEnabled"), rule.enabled},
            {QStringLiteral("order"), double(i)},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QList<CleanupRule> AddImported(const QList<CleanupRule> &own, const QList<CleanupRule> &imported)
{
    QList<CleanupRule> all = own;
    QSet<QString> taken;
    for (const CleanupRule &rule : own)
        taken.insert(rule.name);
    for (CleanupRule rule : imported) {
        const QString name = rule.name;
        for (int number = 2; taken.contains(rule.name); ++number)
            rule.name = QStringLiteral("%1 (%2)").arg(name).arg(number);
        taken.insert(rule.name);
        all.append(std::move(rule));
    }
    return all;
}
