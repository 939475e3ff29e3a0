#pragma once
// The desktop's keyring (Secret Service, KWallet; the credential store on
// Windows) through QtKeychain, for passwords that must not stand in a file.
// Both calls return at once and answer later on the caller's thread, through
// `done`, unless `context` is gone by then. Where there is no keyring (no
// session bus, no service running) they answer with nothing kept, logged.
#include <QString>

#include <functional>
#include <optional>

class QObject;

// The password kept under `key`; nullopt when none is kept or the keyring
// cannot be reached.
void ReadPassword(const QString &key, QObject *context, const std::function<void(std::optional<QString>)> &done);
// Keeps `password` under `key`; `done` tells whether the keyring took it.
void WritePassword(const QString &key, const QString &password, QObject *context,
                   const std::function<void(bool)> &done);
