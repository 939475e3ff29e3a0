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

// What a dialog that is to warn about an address needs.
struct ClearTextGuard {
    ClearTextTest inClear;
    QStringList &agreed;
};

class SyncDialog : public QDialog {
public:
    SyncDialog(QWidget *parent, const SyncAccount &current, FolderChecker check, ClearTextGuard guard)
        : QDialog(parent), address_(new QLineEdit(current.address, this)), user_(new QLineEdit(current.user, this)),
          password_(new QLineEdit(current.password, this)), enabled_(new QCheckBox(QStringLiteral("启用(&E)"), this)),
          verdict_(new QLabel(this)), agree_(new QPushButton(QStringLiteral("仍然使用此地址(&Y)"), this)),
          check_(std::move(check)), guard_(std::move(guard))
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
        layout->addWidget(agree_);
        layout->addWidget(buttons);
        agree_->setAutoDefault(false);
        agree_->hide();
        connect(test, &QPushButton::clicked, this, [this] { Guarded([this] { Check(); }); });
        connect(agree_, &QPushButton::clicked, this, &SyncDialog::Agree);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            if (enabled_->isChecked())
                return Guarded([this] { accept(); });
            accept();
        });
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

    // Runs `action` at once unless the account sends the password in clear
    // to an address not agreed to; then warns and keeps it for Agree.
    void Guarded(const std::function<void()> &action)
    {
        const SyncAccount account = Account();
        if (!guard_.inClear(account) || guard_.agreed.contains(account.address))
            return action();
        warned_ = account.address;
        pending_ = action;
        verdict_->setText(QStringLiteral("此地址未加密，密码会以明文发送。确实要使用它，请按“仍然使用此地址”。"));
        agree_->show();
    }

    // The address warned about is agreed to; the action waiting runs, checked
    // again, as the address may have been changed meanwhile.
    void Agree()
    {
        agree_->hide();
        guard_.agreed.append(warned_);
        const std::function<void()> action = std::move(pending_);
        Guarded(action);
    }

    QLineEdit *address_;
    QLineEdit *user_;
    QLineEdit *password_;
    QCheckBox *enabled_;
    QLabel *verdict_;
    QPushButton *agree_;
    FolderChecker check_;
    ClearTextGuard guard_;
    QString warned_;
    std::function<void()> pending_;
};

} // namespace

std::optional<SyncAccount> AskSyncAccount(QWidget *parent, const SyncAccount &current, FolderChecker check,
                                          ClearTextTest inClear, QStringList &agreed)
{
    std::optional<SyncAccount> chosen;
    RunModalDialog(new SyncDialog(parent, current, std::move(check), {std::move(inClear), agreed}),
                   [&chosen](const SyncDialog &confirmed) { chosen = confirmed.Account(); });
    return chosen;
}
