#include "app/SyncMenu.h"

#include "app/BookSyncing.h"
#include "app/Log.h"
#include "app/MenuItem.h"
#include "platform/Keyring.h"
#include "session/ReadingSession.h"
#include "sync/BookSync.h"
#include "sync/FolderCheck.h"
#include "sync/WebDav.h"
#include "ui/MessageStrip.h"
#include "ui/SyncDialog.h"

#include <QStringList>

#include <memory>

namespace {

void KeepPassword(const SyncAccount &account, BookSync &sync, MessageStrip &strip)
{
    WritePassword(KeyringKeyOf(account), account.password, &sync, [&strip](bool kept) {
        if (kept)
            return;
        qCWarning(lcApp) << "no keyring: the sync password is kept until the reader ends";
        strip.ShowMessage(QStringLiteral("没有可用的密钥环：密码只保留到阅读器关闭"));
    });
}

void ChooseSyncAccount(BookSync &sync, QWidget *window, MessageStrip &strip, QStringList &agreed)
{
    const std::optional<SyncAccount> chosen =
        AskSyncAccount(window, sync.Account(), &CheckFolder, &SendsPasswordInClear, agreed);
    if (!chosen || !window->isVisible())
        return;
    if (!chosen->user.isEmpty() && !chosen->password.isEmpty() && chosen->password != sync.Account().password)
        KeepPassword(*chosen, sync, strip);
    sync.SetAccount(*chosen);
    if (sync.IsOn())
        strip.ShowMessage(QStringLiteral("同步已启用"));
    else
        strip.ShowMessage(chosen->enabled ? QStringLiteral("同步需要地址和密码") : QStringLiteral("同步未启用"));
}

} // namespace

void AddSyncItem(QMenu *settings, BookSync &sync, QWidget *window, MessageStrip &strip)
{
    // The addresses the user agreed to send the password to in clear, asked
    // about once each while the reader runs.
    auto agreed = std::make_shared<QStringList>();
    AddMenuItem(settings, QStringLiteral("同步…"),
                [&sync, window, &strip, agreed] { ChooseSyncAccount(sync, window, strip, *agreed); });
}

void AddSyncNowItem(QMenu *file, BookSync &sync, ReadingSession &session, MessageStrip &strip)
{
    AddMenuItem(file, QStringLiteral("立即同步"), [&sync, &session, &strip] {
        if (!sync.IsOn())
            return strip.ShowMessage(QStringLiteral("同步未启用：请在“设置 → 同步…”中设置"));
        session.SaveShownPlace();
        if (session.HasBook())
            sync.SyncBook(session.Book().RecordKey());
        sync.SyncNow();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}
