#include "Settings.h"

#include "IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString SettingsPathFor(const QString &programDirectory)
{
    const QString fileName = QStringLiteral("config.ini");
    if (CanHoldIniFiles(programDirectory))
        return QDir::toNativeSeparators(programDirectory + QLatin1Char('/') + fileName);
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                                    + QLatin1Char('/') + fileName);
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
    WriteSettingGroup(settingsPath, {{setting, value}});
}

void WriteSettingGroup(const QString &settingsPath, std::initializer_list<SettingValue> values)
{
    // The configuration folder of an installed program may not exist yet.
    QDir().mkpath(QFileInfo(settingsPath).absolutePath());
    const IniFileLock lock(settingsPath);
    for (const SettingValue &item : values)
        WriteIniValue(settingsPath, QString::fromUtf8(item.setting.section), QString::fromUtf8(item.setting.key),
                      item.value);
}

std::optional<int> SettingNumber(const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

int SettingToInt(const QString &value)
{
    return SettingNumber(value).value_or(0);
}
