#include "app/Settings.h"

#include "core/IniFile.h"
#include "core/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString SettingsPathFor(const QString &programDirectory)
{
    const QString fileName = QStringLiteral("config.ini");
    if (CanWriteFilesIn(programDirectory))
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

RememberedSettings LoadSettings(const QString &settingsPath)
{
    const IniSnapshot file(settingsPath);
    RememberedSettings settings;
    for (const SettingKey &setting : kSettingKeys) {
        const QString fallback =
            setting.defaultValue ? QString::fromUtf8(setting.defaultValue) : DefaultBookDirectory();
        settings.*setting.value =
            file.Value(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), fallback);
    }
    return settings;
}

void SaveSettings(const QString &settingsPath, const RememberedSettings &settings)
{
    // The configuration folder of an installed program may not exist yet.
    QDir().mkpath(QFileInfo(settingsPath).absolutePath());
    const IniFileLock lock(settingsPath);
    for (const SettingKey &setting : kSettingKeys)
        WriteIniValue(settingsPath, QString::fromUtf8(setting.section), QString::fromUtf8(setting.key),
                      settings.*setting.value);
}

std::optional<int> SettingNumber(const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}
