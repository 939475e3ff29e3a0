#include "sync/DeviceList.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

QString DeviceIdFor(const QString &settingsPath)
{
    const QByteArray digest = QCryptographicHash::hash(settingsPath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return DeviceName() + u'-' + QString::fromLatin1(digest.left(8));
}

QString DeviceName()
{
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? QStringLiteral("computer") : host;
}

QByteArray DeviceListWith(const QByteArray &json, const QString &id, const QString &name, qint64 now)
{
    QJsonObject list = QJsonDocument::fromJson(json).object();
    QJsonObject devices = list.value(QLatin1StringView("devices")).toObject();
    devices.insert(id, QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("lastSeen"), now}});
    list.insert(QStringLiteral("version"), 1);
    list.insert(QStringLiteral("devices"), devices);
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}
