#pragma once
// The 净化规则 being edited, as a table for a view: one row per rule in the
// order they are applied, a column per field. Names, patterns and
// replacements are edited as text, 正则 and 启用 as check boxes, 范围 and
// 作用于 as a choice (ChoicesRole lists the choices, the edit role is the
// index of the one taken). A rule the engine cannot use (RuleProblem) has a
// warning beside its pattern, the reason as its tooltip, and shows 启用
// unticked and refuses to be ticked; it keeps whether the user wanted it
// on, so that mending its pattern turns it on again.
#include "core/CleanupRule.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class CleanupRulesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Pattern, Replacement, IsRegex, Scope, Target, Enabled, ColumnCount };
    static constexpr int kChoicesRole = Qt::UserRole + 1;

    // `fileName`: the open book's, which 本书 stands for; empty when none is
    // open, and 本书 is then no choice.
    CleanupRulesModel(const QList<CleanupRule> &rules, const QString &fileName, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rules as they are to be applied: one with a problem is off.
    QList<CleanupRule> Rules() const;
    CleanupRule RuleAt(int row) const { return Rules().value(row); }
    // Why the rule in the row cannot be used; empty when it can.
    QString ProblemAt(int row) const;

    // Adds an empty rule at the end, under a name no other rule has; returns
    // its row.
    int AddRule();
    void RemoveRule(int row);
    // Moves the rule `by` rows up (negative) or down, within the table;
    // returns the row it is in now.
    int MoveRule(int row, int by);
    // Adds these after the rules there are (see ::AddImported).
    void AddImported(const QList<CleanupRule> &imported);

Q_SIGNALS:
    // After every change of the rules, whatever made it.
    void rulesChanged();

private:
    struct Choice {
        QString label;
        QString scope;
    };
    // The scopes the row's rule may take: every book, the open one, and the
    // other book it has now, if any.
    QList<Choice> ScopeChoices(int row) const;
    QVariant ChoiceData(const QModelIndex &index, int role) const;
    bool SetChoice(const QModelIndex &index, int choice);
    bool SetCheck(const QModelIndex &index, bool on);
    bool SetText(const QModelIndex &index, const QString &text);

    QList<CleanupRule> rules_;
    QString fileName_;
};
