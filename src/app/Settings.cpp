#include "Settings.h"

#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>

QString DefaultSettingsPath()
{
    return QCoreApplication::applicationDirPath() + QDir::separator() + QStringLiteral("config.ini");
}

QString DefaultBookDirectory()
{
#ifdef Q_OS_WIN
    return QStringLiteral("d:\\book\\");
#else
    return QDir::homePath() + QStringLiteral("/book/");
#endif
}

QString ReadSetting(const QString &settingsPath, const SettingKey &setting)
{
    const QString fallback = setting.defaultValue ? QString::fromUtf8(setting.defaultValue) : DefaultBookDirectory();
    return ReadIniValue(settingsPath, QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), fallback);
}

void WriteSetting(const QString &settingsPath, const SettingKey &setting, const QString &value)
{
    WriteIniValue(settingsPath, QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), value);
}

int SettingToInt(const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    return ok ? number : 0;
}
