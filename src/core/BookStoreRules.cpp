#include "core/BookStoreRules.h"

#include "core/BookStoreTable.h"
#include "core/Log.h"

#include <QSqlQuery>

#include <optional>

namespace {

// In the order WriteRule binds them and RuleFromRow reads them.
const char kRuleColumns[] = "position, name, pattern, replacement, is_regex, scope, target, enabled";

QSqlError WriteRule(QSqlQuery &insert, int position, const CleanupRule &rule)
{
    const QVariant values[] = {position,     rule.name,  rule.pattern,     rule.replacement,
                               rule.isRegex, rule.scope, int(rule.target), rule.enabled};
    for (int i = 0; i < int(std::size(values)); ++i)
        insert.bindValue(i, values[i]);
    return insert.exec() ? QSqlError() : insert.lastError();
}

// A flag as the rule has it: 0 or 1.
std::optional<bool> FlagIn(const QVariant &column)
{
    bool isNumber = false;
    const int value = column.toInt(&isNumber);
    return isNumber && (value == 0 || value == 1) ? std::optional(value == 1) : std::nullopt;
}

std::optional<CleanupRule> RuleFromRow(const QSqlQuery &row)
{
    const std::optional<bool> isRegex = FlagIn(row.value(4));
    const std::optional<bool> enabled = FlagIn(row.value(7));
    const int target = row.value(6).toInt();
    const bool knownTarget =
        target == CleanupRule::Content || target == CleanupRule::Titles || target == CleanupRule::Both;
    if (!isRegex || !enabled || !knownTarget || row.isNull(2))
        return std::nullopt;
    return CleanupRule{row.value(1).toString(),
                       row.value(2).toString(),
                       row.value(3).toString(),
                       *isRegex,
                       row.value(5).toString(),
                       CleanupRule::Target(target),
                       *enabled};
}

} // namespace

QStringList CreateRuleTablesSql()
{
    return {QStringLiteral("CREATE TABLE IF NOT EXISTS cleanup_rules (position INTEGER PRIMARY KEY, name TEXT, "
                           "pattern TEXT, replacement TEXT, is_regex INTEGER, scope TEXT, target INTEGER, "
                           "enabled INTEGER)"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS shown_original (name TEXT PRIMARY KEY NOT NULL) WITHOUT ROWID")};
}

QSqlError WriteCleanupRules(const QSqlDatabase &database, const QList<CleanupRule> &rules)
{
    QSqlDatabase writing = database;
    if (!writing.transaction())
        return writing.lastError();
    QSqlQuery query(writing);
    if (!query.exec(QStringLiteral("DELETE FROM cleanup_rules")))
        return RolledBack(writing, query);
    query.prepare(QStringLiteral("INSERT INTO cleanup_rules (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(QLatin1StringView(kRuleColumns)));
    for (int i = 0; i < int(rules.size()); ++i) {
        if (WriteRule(query, i, rules[i]).isValid())
            return RolledBack(writing, query);
    }
    return writing.commit() ? QSqlError() : RolledBack(writing, query);
}

QList<CleanupRule> ReadCleanupRules(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    QList<CleanupRule> rules;
    if (!query.exec(
            QStringLiteral("SELECT %1 FROM cleanup_rules ORDER BY position").arg(QLatin1StringView(kRuleColumns)))) {
        qCWarning(lcCore).noquote() << "book store: cannot read the cleanup rules -" << query.lastError().text();
        return rules;
    }
    while (query.next()) {
        if (std::optional<CleanupRule> rule = RuleFromRow(query))
            rules.append(std::move(*rule));
        else
            qCWarning(lcCore) << "book store: skipping the damaged cleanup rule at" << query.value(0).toLongLong();
    }
    return rules;
}

QSqlError WriteShowsOriginal(const QSqlDatabase &database, const QString &key, bool on)
{
    QSqlQuery query(database);
    query.prepare(on ? QStringLiteral("INSERT OR IGNORE INTO shown_original (name) VALUES (?)")
                     : QStringLiteral("DELETE FROM shown_original WHERE name = ?"));
    query.addBindValue(key);
    return query.exec() ? QSqlError() : query.lastError();
}

bool ReadShowsOriginal(const QSqlDatabase &database, const QString &key)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT 1 FROM shown_original WHERE name = ?"));
    query.addBindValue(key);
    if (!query.exec()) {
        qCWarning(lcCore).noquote() << "book store: cannot read whether" << LoggedPath(key) << "is shown as it is -"
                                    << query.lastError().text();
        return false;
    }
    return query.next();
}
