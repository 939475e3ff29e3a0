#include "ui/CleanupRulesDialog.h"

#include "core/CleanupRuleJson.h"
#include "core/SafeFile.h"
#include "ui/ChoiceDelegate.h"
#include "ui/CleanupRulesModel.h"
#include "ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kFileFilter = QStringLiteral("JSON 文件 (*.json);;所有文件 (*)");

QLabel *Line(const QString &accessibleName, QWidget *parent)
{
    auto *line = new QLabel(parent);
    line->setAccessibleName(accessibleName);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return line;
}

} // namespace

CleanupRulesDialog::CleanupRulesDialog(const QList<CleanupRule> &rules, CleanupRulesHooks hooks, QWidget *parent)
    : QDialog(parent), hooks_(std::move(hooks)), model_(new CleanupRulesModel(rules, hooks_.fileName, this)),
      table_(new QTableView(this)), preview_(Line(QStringLiteral("预览"), this)),
      message_(Line(QStringLiteral("消息"), this))
{
    setWindowTitle(QStringLiteral("净化规则"));
    resize(760, 480);
    SetUpTable();
    auto *confirm = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(CreateButtons());
    layout->addWidget(preview_);
    layout->addWidget(message_);
    layout->addWidget(confirm);
    connect(confirm, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(confirm, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&previewJob_, &QFutureWatcher<QString>::finished, preview_,
            [this] { preview_->setText(previewJob_.result()); });
    connect(model_, &CleanupRulesModel::rulesChanged, this, [this] {
        if (hooks_.changed)
            hooks_.changed(Rules());
        ShowSelected();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { ShowSelected(); });
    Select(0);
}

void CleanupRulesDialog::SetUpTable()
{
    table_->setAccessibleName(QStringLiteral("净化规则"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *choices = new ChoiceDelegate(CleanupRulesModel::kChoicesRole, table_);
    table_->setItemDelegateForColumn(CleanupRulesModel::Scope, choices);
    table_->setItemDelegateForColumn(CleanupRulesModel::Target, choices);
    QHeaderView *header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(CleanupRulesModel::Pattern, QHeaderView::Stretch);
    header->setSectionResizeMode(CleanupRulesModel::Replacement, QHeaderView::Stretch);
}

QHBoxLayout *CleanupRulesDialog::CreateButtons()
{
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(AddButton(QStringLiteral("新建(&N)"), &CleanupRulesDialog::OnNew));
    for (const auto &[text, act] : {std::pair{QStringLiteral("删除(&D)"), &CleanupRulesDialog::OnDelete},
                                    {QStringLiteral("上移(&U)"), &CleanupRulesDialog::OnUp},
                                    {QStringLiteral("下移(&O)"), &CleanupRulesDialog::OnDown}})
        buttons->addWidget(forSelection_.emplace_back(AddButton(text, act)));
    buttons->addStretch();
    buttons->addWidget(AddButton(QStringLiteral("导入(&I)…"), &CleanupRulesDialog::OnImport));
    buttons->addWidget(AddButton(QStringLiteral("导出(&E)…"), &CleanupRulesDialog::OnExport));
    return buttons;
}

QPushButton *CleanupRulesDialog::AddButton(const QString &text, void (CleanupRulesDialog::*act)())
{
    auto *button = new QPushButton(text, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, act);
    return button;
}

QList<CleanupRule> CleanupRulesDialog::Rules() const
{
    return model_->Rules();
}

int CleanupRulesDialog::SelectedRow() const
{
    const QModelIndex current = table_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CleanupRulesDialog::Select(int row)
{
    if (row >= 0 && row < model_->rowCount())
        table_->setCurrentIndex(model_->index(row, CleanupRulesModel::Name));
    ShowSelected();
}

void CleanupRulesDialog::ShowSelected()
{
    const int row = SelectedRow();
    for (QPushButton *button : std::as_const(forSelection_))
        button->setEnabled(row >= 0);
    if (row < 0)
        return preview_->setText(QStringLiteral("选中一条规则，这里会显示它在本书中改动的地方。"));
    const CleanupRule rule = model_->RuleAt(row);
    if (const QString problem = model_->ProblemAt(row); !problem.isEmpty())
        return preview_->setText(QStringLiteral("这条规则不能启用：%1").arg(problem));
    if (!hooks_.preview)
        return preview_->clear();
    preview_->setText(QStringLiteral("正在查看本书中的改动…"));
    previewJob_.setFuture(hooks_.preview(rule));
}

void CleanupRulesDialog::OnNew()
{
    // Current where it is edited, so that moving on closes the editor.
    const QModelIndex pattern = model_->index(model_->AddRule(), CleanupRulesModel::Pattern);
    table_->setCurrentIndex(pattern);
    table_->edit(pattern);
}

void CleanupRulesDialog::OnDelete()
{
    const int row = SelectedRow();
    model_->RemoveRule(row);
    Select(std::min(row, model_->rowCount() - 1));
}

void CleanupRulesDialog::Move(int by)
{
    Select(model_->MoveRule(SelectedRow(), by));
}

void CleanupRulesDialog::OnImport()
{
    // Qt's own dialogs: the same on every desktop, and drivable in tests.
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("导入净化规则"), QString(), kFileFilter,
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        ImportFrom(path);
}

void CleanupRulesDialog::OnExport()
{
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("导出净化规则"), QStringLiteral("净化规则.json"), kFileFilter,
                                     nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        ExportTo(path);
}

void CleanupRulesDialog::ImportFrom(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    const std::optional<QByteArray> bytes = ReadWholeFile(path);
    if (!bytes)
        return message_->setText(QStringLiteral("无法导入 %1：读不出这个文件").arg(fileName));
    const ReadCleanupRules read = RulesFromJson(*bytes, fileName);
    if (!read.problem.isEmpty())
        return message_->setText(read.problem);
    const int first = model_->rowCount();
    model_->AddImported(read.rules);
    message_->setText(QStringLiteral("已从 %1 导入 %2 条规则").arg(fileName).arg(read.rules.size()));
    Select(first);
}

void CleanupRulesDialog::ExportTo(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    if (!ReplaceFile(path, RulesToJson(Rules())))
        return message_->setText(QStringLiteral("无法导出到 %1：写不进这个文件").arg(fileName));
    message_->setText(QStringLiteral("已将 %1 条规则导出到 %2").arg(model_->rowCount()).arg(fileName));
}

std::optional<QList<CleanupRule>> RunCleanupRulesDialog(QWidget *parent, const QList<CleanupRule> &rules,
                                                        CleanupRulesHooks hooks)
{
    std::optional<QList<CleanupRule>> confirmed;
    RunModalDialog(new CleanupRulesDialog(rules, std::move(hooks), parent),
                   [&confirmed](const CleanupRulesDialog &dialog) { confirmed = dialog.Rules(); });
    return confirmed;
}
