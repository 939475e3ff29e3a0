#pragma once
// 净化规则: the rules as a table in the order they are applied (see
// CleanupRulesModel), with 新建, 删除, 上移, 下移, 导入… and 导出…, a line
// telling what the selected rule changes in the open book (or why it cannot
// be used), and a line for what an import or export came to. The dialog
// computes nothing about the book itself: it asks the hooks, and tells them
// of every change at once, so that the pane can show it while the dialog is
// open.
#include "core/CleanupRule.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class CleanupRulesModel;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

struct CleanupRulesHooks {
    // The open book's file name, which 本书 stands for; empty when no book
    // is open (本书 is then no choice).
    QString fileName;
    // The line for the selected rule, e.g. "共 3 处：……", worked out in the
    // background (a large book takes a while); only the newest is shown.
    // None: no line.
    std::function<QFuture<QString>(const CleanupRule &rule)> preview;
    // The rules after every change made in the dialog, as Rules() gives them.
    std::function<void(const QList<CleanupRule> &rules)> changed;
};

class CleanupRulesDialog : public QDialog {
    Q_OBJECT
public:
    CleanupRulesDialog(const QList<CleanupRule> &rules, CleanupRulesHooks hooks, QWidget *parent);

    // The rules as they stand; one that cannot be used is off.
    QList<CleanupRule> Rules() const;
    CleanupRulesModel &Model() { return *model_; }
    // Adds the rules of the JSON file at `path` after the others (see
    // CleanupRuleJson.h), or none of them, telling in the dialog why.
    void ImportFrom(const QString &path);
    // Writes the rules to the file at `path`, telling in the dialog how that
    // went.
    void ExportTo(const QString &path);

private:
    void SetUpTable();
    // 新建 ... 导出…, in a row.
    QHBoxLayout *CreateButtons();
    QPushButton *AddButton(const QString &text, void (CleanupRulesDialog::*act)());
    void OnNew();
    void OnDelete();
    void OnUp() { Move(-1); }
    void OnDown() { Move(1); }
    void OnImport();
    void OnExport();
    void Move(int by);
    int SelectedRow() const;
    void Select(int row);
    // The preview line and which buttons can be pressed, for the selection.
    void ShowSelected();

    CleanupRulesHooks hooks_;
    CleanupRulesModel *model_;
    QTableView *table_;
    QLabel *preview_;
    QFutureWatcher<QString> previewJob_;
    QLabel *message_;
    QList<QPushButton *> forSelection_;
};

// Runs the dialog over `parent`, starting from `rules`. The rules confirmed
// with 确定, or nullopt for 取消 (Esc, the window closed meanwhile): the
// caller then puts back the rules it gave, which `changed` may have replaced.
std::optional<QList<CleanupRule>> RunCleanupRulesDialog(QWidget *parent, const QList<CleanupRule> &rules,
                                                        CleanupRulesHooks hooks);
