#include "app/BookSyncing.h"

#include "app/Log.h"
#include "app/ReaderServices.h"
#include "app/ReadingTimeKeeping.h"
#include "platform/Keyring.h"
#include "session/ReadingSession.h"
#include "sync/DeviceList.h"
#include "ui/MessageStrip.h"

namespace {

// Long enough for a few requests to a server that answers, short enough that
// closing never seems to hang on one that does not.
constexpr int kShutdownSyncMs = 3000;

} // namespace

SyncAccount SyncAccountIn(const Settings &settings)
{
    return {settings.syncAddress, settings.syncUser, QString(), settings.syncEnabled};
}

void PutSyncAccount(const SyncAccount &account, Preferences &preferences)
{
    preferences.Set(&Settings::syncAddress, account.address);
    preferences.Set(&Settings::syncUser, account.user);
    preferences.Set(&Settings::syncEnabled, account.enabled);
}

QString KeyringKeyOf(const SyncAccount &account)
{
    return QStringLiteral("sync %1@%2").arg(account.user, account.address);
}

void StartSync(ReaderServices &services, MessageStrip &strip)
{
    BookSync &sync = services.sync;
    const QString device = DeviceIdFor(services.preferences.Path());
    sync.SetDevice(device, DeviceName());
    // Marked even while syncing is off, so that turning it on later knows
    // which computer's changes are the newer.
    services.store.MarkChangesAs(device, [&sync](const QString &name) { sync.NoteChanged(name); });
    const SyncAccount account = SyncAccountIn(services.preferences.Values());
    sync.SetAccount(account);
    if (!account.enabled || account.user.isEmpty())
        return;
    ReadPassword(KeyringKeyOf(account), &sync, [&sync, &strip, account](const std::optional<QString> &password) {
        if (!password) {
            qCWarning(lcApp) << "no sync password in the keyring: asking for it in 设置 → 同步…";
            strip.ShowMessage(QStringLiteral("同步需要密码：请在“设置 → 同步…”中输入"));
            return;
        }
        SyncAccount signedIn = account;
        signedIn.password = *password;
        sync.SetAccount(signedIn);
    });
}

void WireSync(ReaderServices &services, ReadingSession &session, ReadingTimeKeeping &timeKeeping, MessageStrip &strip,
              QObject *context)
{
    BookSync &sync = services.sync;
    QObject::connect(&sync, &BookSync::accountChanged, context,
                     [&services] { PutSyncAccount(services.sync.Account(), services.preferences); });
    QObject::connect(&session, &ReadingSession::bookShown, context,
                     [&sync, &session] { sync.SyncBook(session.Book().RecordKey()); });
    QObject::connect(&sync, &BookSync::recordMerged, context,
                     [&session, &strip](const QString &name, const BookRecord &before) {
                         if (session.OnRecordSynced(name, before))
                             strip.ShowMessage(QStringLiteral("已同步到另一台电脑上的位置"));
                     });
    QObject::connect(&sync, &BookSync::highlightsMerged, context, [&session](const QString &name) {
        if (session.HasBook() && session.Book().RecordKey() == name)
            session.Highlighted().ShowAgain();
    });
    QObject::connect(&sync, &BookSync::readingTimeMerged, &timeKeeping, &ReadingTimeKeeping::TakeStoredRows);
    QObject::connect(&sync, &BookSync::failed, context,
                     [&strip](const QString &message) { strip.ShowMessage(message); });
}

void FinishSync(BookSync &sync)
{
    sync.Finish(kShutdownSyncMs);
}
