#pragma once
// The computers sharing a sync folder, kept beside the books' files as
// devices.json: {"version":1,"devices":{"<id>":{"name":"<host>","lastSeen":<ms>}}}.
#include <QByteArray>
#include <QString>

// This reader's id: the computer's name and a digest of its settings file's
// path, so that two readers on one computer (two folders) are two devices.
QString DeviceIdFor(const QString &settingsPath);
// The computer's name as the list shows it.
QString DeviceName();

// The list in `json` with this device's entry set to `name` and `now`; a list
// that is missing or unreadable starts afresh with this device alone.
QByteArray DeviceListWith(const QByteArray &json, const QString &id, const QString &name, qint64 now);
