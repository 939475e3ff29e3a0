#include "ui/SyncDialog.h"

#include "ui/ModalDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class SyncDialog : public QDialog {
public:
    SyncDialog(QWidget *parent, const SyncAccount &current, FolderChecker check)
        : QDialog(parent), address_(new QLineEdit(current.address, this)), user_(new QLineEdit(current.user, this)),
          password_(new QLineEdit(current.password, this)), enabled_(new QCheckBox(QStringLiteral("启用(&E)"), this)),
          verdict_(new QLabel(this)), check_(std::move(check))
    {
        setWindowTitle(QStringLiteral("同步"));
        address_->setPlaceholderText(QStringLiteral("https://example.com/dav/"));
        password_->setEchoMode(QLineEdit::Password);
        enabled_->setChecked(current.enabled);
        verdict_->setWordWrap(true);
        auto *test = new QPushButton(QStringLiteral("测试连接(&T)"), this);
        test->setAutoDefault(false);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        auto *fields = new QFormLayout;
        fields->addRow(QStringLiteral("地址(&A)："), address_);
        fields->addRow(QStringLiteral("用户(&U)："), user_);
        fields->addRow(QStringLiteral("密码(&P)："), password_);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("在 WebDAV 文件夹中同步阅读位置、书签和每本书的选择："), this));
        layout->addLayout(fields);
        layout->addWidget(enabled_);
        layout->addWidget(test);
        layout->addWidget(verdict_);
        layout->addWidget(buttons);
        connect(test, &QPushButton::clicked, this, &SyncDialog::Check);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        address_->setFocus();
    }

    SyncAccount Account() const
    {
        return {address_->text().trimmed(), user_->text(), password_->text(), enabled_->isChecked()};
    }

private:
    void Check()
    {
        verdict_->setText(QStringLiteral("正在连接…"));
        check_(Account(), verdict_, [label = verdict_](const QString &verdict) { label->setText(verdict); });
    }

    QLineEdit *address_;
    QLineEdit *user_;
    QLineEdit *password_;
    QCheckBox *enabled_;
    QLabel *verdict_;
    FolderChecker check_;
};

} // namespace

std::optional<SyncAccount> AskSyncAccount(QWidget *parent, const SyncAccount &current, FolderChecker check)
{
    std::optional<SyncAccount> chosen;
    RunModalDialog(new SyncDialog(parent, current, std::move(check)),
                   [&chosen](const SyncDialog &confirmed) { chosen = confirmed.Account(); });
    return chosen;
}
