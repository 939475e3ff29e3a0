#include "ui/ChapterRuleDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Long enough that a check does not start on every key, short enough that
// the preview seems to follow the typing.
constexpr int kSettleMs = 300;

} // namespace

ChapterRuleDialog::ChapterRuleDialog(const QString &pattern, QWidget *parent)
    : QDialog(parent), field_(new QLineEdit(pattern, this)), message_(new QLabel(this)),
      preview_(new QListWidget(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)), settle_(new QTimer(this))
{
    setWindowTitle(QStringLiteral("自定义章节规则"));
    resize(520, 460);
    auto *layout = new QVBoxLayout(this);
    auto *hint = new QLabel(QStringLiteral("正则表达式，逐行匹配（多行模式），匹配处到行尾即为章节标题："), this);
    hint->setWordWrap(true);
    field_->setAccessibleName(QStringLiteral("正则表达式"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_->setAccessibleName(QStringLiteral("预览"));
    preview_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(hint);
    layout->addWidget(field_);
    layout->addWidget(message_);
    layout->addWidget(preview_);
    layout->addWidget(buttons_);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, [this] { Q_EMIT patternSettled(Pattern()); });
    connect(field_, &QLineEdit::textEdited, this, [this] { OnEdited(); });
    connect(buttons_, &QDialogButtonBox::accepted, this, &ChapterRuleDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &ChapterRuleDialog::reject);
    OnEdited();
}

QString ChapterRuleDialog::Pattern() const
{
    return field_->text();
}

void ChapterRuleDialog::OnEdited()
{
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    message_->setText(QStringLiteral("正在检查……"));
    warnedOfNothingFound_ = false;
    settle_->start();
}

void ChapterRuleDialog::ShowCheck(const QString &pattern, const QString &problem, int found,
                                  const QStringList &firstTitles)
{
    if (pattern != Pattern() || settle_->isActive())
        return;
    found_ = found;
    preview_->clear();
    if (problem.isEmpty())
        preview_->addItems(firstTitles);
    message_->setText(problem.isEmpty() ? QStringLiteral("在本书中找到 %1 个标题").arg(found) : problem);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

void ChapterRuleDialog::accept()
{
    if (!buttons_->button(QDialogButtonBox::Ok)->isEnabled())
        return;
    if (found_ == 0 && !warnedOfNothingFound_) {
        warnedOfNothingFound_ = true;
        message_->setText(
            QStringLiteral("这个表达式在本书中找不到任何标题，全书将只有一章。再按一次“确定”仍然使用它。"));
        return;
    }
    QDialog::accept();
}
