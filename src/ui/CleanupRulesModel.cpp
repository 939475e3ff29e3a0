#include "ui/CleanupRulesModel.h"

#include "core/CleanupRuleJson.h"

#include <QApplication>
#include <QStyle>

namespace {

struct TargetChoice {
    const char16_t *label;
    CleanupRule::Target target;
};
constexpr TargetChoice kTargets[] = {
    {u"正文", CleanupRule::Content}, {u"标题", CleanupRule::Titles}, {u"两者", CleanupRule::Both}};

int TargetIndex(CleanupRule::Target target)
{
    for (int i = 0; i < int(std::size(kTargets)); ++i) {
        if (kTargets[i].target == target)
            return i;
    }
    return 0;
}

QVariant Checked(bool on)
{
    return on ? Qt::Checked : Qt::Unchecked;
}

} // namespace

CleanupRulesModel::CleanupRulesModel(const QList<CleanupRule> &rules, const QString &fileName, QObject *parent)
    : QAbstractTableModel(parent), rules_(rules), fileName_(fileName)
{
    // One signal for whatever changed the rules.
    connect(this, &QAbstractItemModel::rowsInserted, this, &CleanupRulesModel::rulesChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &CleanupRulesModel::rulesChanged);
    connect(this, &QAbstractItemModel::rowsMoved, this, &CleanupRulesModel::rulesChanged);
    connect(this, &QAbstractItemModel::dataChanged, this, &CleanupRulesModel::rulesChanged);
}

int CleanupRulesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rules_.size());
}

int CleanupRulesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CleanupRulesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList kHeaders = {QStringLiteral("名称"), QStringLiteral("查找"), QStringLiteral("替换为"),
                                         QStringLiteral("正则"), QStringLiteral("范围"), QStringLiteral("作用于"),
                                         QStringLiteral("启用")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return kHeaders.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant CleanupRulesModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const CleanupRule &rule = rules_[index.row()];
    const bool text = role == Qt::DisplayRole || role == Qt::EditRole;
    switch (index.column()) {
    case Name:
        return text ? rule.name : QVariant();
    case Pattern:
        if (role == Qt::ToolTipRole)
            return ProblemAt(index.row());
        if (role == Qt::DecorationRole && !ProblemAt(index.row()).isEmpty())
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return text ? rule.pattern : QVariant();
    case Replacement:
        if (role == Qt::ToolTipRole && rule.replacement.isEmpty())
            return QStringLiteral("空：删去找到的内容");
        return text ? rule.replacement : QVariant();
    case IsRegex:
        return role == Qt::CheckStateRole ? Checked(rule.isRegex) : QVariant();
    case Enabled:
        return role == Qt::CheckStateRole ? Checked(rule.enabled && ProblemAt(index.row()).isEmpty()) : QVariant();
    default:
        return ChoiceData(index, role);
    }
}

QVariant CleanupRulesModel::ChoiceData(const QModelIndex &index, int role) const
{
    const CleanupRule &rule = rules_[index.row()];
    QStringList labels;
    int taken = 0;
    if (index.column() == Scope) {
        const QList<Choice> choices = ScopeChoices(index.row());
        for (const Choice &choice : choices) {
            if (choice.scope == rule.scope)
                taken = int(labels.size());
            labels.append(choice.label);
        }
    } else {
        for (const TargetChoice &choice : kTargets)
            labels.append(QString::fromUtf16(choice.label));
        taken = TargetIndex(rule.target);
    }
    if (role == Qt::DisplayRole)
        return labels.value(taken);
    if (role == Qt::EditRole)
        return taken;
    return role == kChoicesRole ? QVariant(labels) : QVariant();
}

QList<CleanupRulesModel::Choice> CleanupRulesModel::ScopeChoices(int row) const
{
    QList<Choice> choices = {{QStringLiteral("全部书籍"), QString()}};
    if (!fileName_.isEmpty())
        choices.append({QStringLiteral("本书"), fileName_});
    const QString &scope = rules_[row].scope;
    if (!scope.isEmpty() && scope != fileName_)
        choices.append({scope, scope});
    return choices;
}

Qt::ItemFlags CleanupRulesModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    switch (index.column()) {
    case IsRegex:
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
    case Enabled:
        if (!ProblemAt(index.row()).isEmpty())
            return Qt::ItemIsSelectable;
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
    default:
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
    }
}

bool CleanupRulesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const int column = index.column();
    if (role == Qt::CheckStateRole && (column == IsRegex || column == Enabled))
        return SetCheck(index, value.value<Qt::CheckState>() == Qt::Checked);
    if (role != Qt::EditRole)
        return false;
    if (column == Scope || column == Target)
        return SetChoice(index, value.toInt());
    return column != IsRegex && column != Enabled && SetText(index, value.toString());
}

// Whether the rule can be used depends on its pattern and on whether that is
// a regular expression: a change of either may change 启用 too.
bool CleanupRulesModel::SetText(const QModelIndex &index, const QString &text)
{
    CleanupRule &rule = rules_[index.row()];
    QString &field = index.column() == Name ? rule.name : index.column() == Pattern ? rule.pattern : rule.replacement;
    if (field == text)
        return true;
    field = text;
    Q_EMIT dataChanged(index, index.siblingAtColumn(Enabled));
    return true;
}

bool CleanupRulesModel::SetCheck(const QModelIndex &index, bool on)
{
    CleanupRule &rule = rules_[index.row()];
    if (index.column() == Enabled && on && !ProblemAt(index.row()).isEmpty())
        return false;
    bool &flag = index.column() == IsRegex ? rule.isRegex : rule.enabled;
    if (flag == on)
        return true;
    flag = on;
    Q_EMIT dataChanged(index, index.siblingAtColumn(Enabled));
    return true;
}

bool CleanupRulesModel::SetChoice(const QModelIndex &index, int choice)
{
    CleanupRule &rule = rules_[index.row()];
    if (index.column() == Scope) {
        const QList<Choice> choices = ScopeChoices(index.row());
        if (choice < 0 || choice >= choices.size())
            return false;
        rule.scope = choices[choice].scope;
    } else {
        if (choice < 0 || choice >= int(std::size(kTargets)))
            return false;
        rule.target = kTargets[choice].target;
    }
    Q_EMIT dataChanged(index, index);
    return true;
}

QList<CleanupRule> CleanupRulesModel::Rules() const
{
    QList<CleanupRule> rules = rules_;
    for (CleanupRule &rule : rules)
        rule.enabled = rule.enabled && RuleProblem(rule).isEmpty();
    return rules;
}

QString CleanupRulesModel::ProblemAt(int row) const
{
    return row >= 0 && row < rules_.size() ? RuleProblem(rules_[row]) : QString();
}

int CleanupRulesModel::AddRule()
{
    CleanupRule rule;
    rule.name = QStringLiteral("新规则");
    AddImported({rule});
    return int(rules_.size()) - 1;
}

void CleanupRulesModel::AddImported(const QList<CleanupRule> &imported)
{
    if (imported.isEmpty())
        return;
    const QList<CleanupRule> all = ::AddImported(rules_, imported);
    beginInsertRows(QModelIndex(), int(rules_.size()), int(all.size()) - 1);
    rules_ = all;
    endInsertRows();
}

void CleanupRulesModel::RemoveRule(int row)
{
    if (row < 0 || row >= rules_.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    rules_.removeAt(row);
    endRemoveRows();
}

int CleanupRulesModel::MoveRule(int row, int by)
{
    const int to = std::clamp(row + by, 0, int(rules_.size()) - 1);
    if (row < 0 || row >= rules_.size() || to == row)
        return row;
    // Qt counts the destination before the move: one further when moving down.
    beginMoveRows(QModelIndex(), row, row, QModelIndex(), to > row ? to + 1 : to);
    rules_.move(row, to);
    endMoveRows();
    return to;
}
