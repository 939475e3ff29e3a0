#pragma once
// Syncing the books' records with other computers, as the reader runs it:
// the account config.ini names, its password from the keyring (asked for in
// 设置 → 同步… where the keyring has none), the open book synced when shown,
// another computer's newer place followed, and failures told in the strip
// below the pane.
#include "core/Settings.h"
#include "core/SyncAccount.h"

#include <QString>

class BookSync;
class MessageStrip;
class Preferences;
class QObject;
class ReadingSession;
class ReadingTimeKeeping;
struct ReaderServices;

// Start-up: this reader's device id, change marks in the store, and the
// account from the settings read; the password is looked up in the keyring.
void StartSync(ReaderServices &services, MessageStrip &strip);
// The account's keys in config.ini, and back.
SyncAccount SyncAccountIn(const Settings &settings);
void PutSyncAccount(const SyncAccount &account, Preferences &preferences);
// Where the keyring keeps the password of the account.
QString KeyringKeyOf(const SyncAccount &account);
// Binds the sync's signals and the session's book shown; the account chosen
// goes to config.ini; what the other computers brought is shown (the place,
// the open book's highlights) and counted (the time read).
void WireSync(ReaderServices &services, ReadingSession &session, ReadingTimeKeeping &timeKeeping, MessageStrip &strip,
              QObject *context);
// Shutdown: the changes waiting are written, at most a few seconds.
void FinishSync(BookSync &sync);
