#include "core/Settings.h"

#include "core/BookFileName.h"
#include "core/IniFile.h"
#include "core/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

void Assign(Settings &settings, const SettingKey &setting, const QString &text)
{
    std::visit(Overloaded{[&](QString Settings::*field) {
                              const bool name = setting.kind == SettingKind::BookName;
                              settings.*field = name ? BookNameFromSetting(text) : text;
                          },
                          [&](int Settings::*field) {
                              const bool tenths = setting.kind == SettingKind::Tenths;
                              settings.*field = (tenths ? SettingTenths(text) : SettingNumber(text)).value_or(0);
                          },
                          [&](std::optional<int> Settings::*field) {
                              if (setting.kind == SettingKind::Measure)
                                  settings.*field = SettingNumber(text);
                              else
                                  settings.*field =
                                      text.isEmpty() ? std::nullopt : std::optional(SettingNumber(text).value_or(0));
                          },
                          [&](bool Settings::*field) { settings.*field = SettingNumber(text) == 1; },
                          [&](Indentation Settings::*field) { settings.*field = IndentationNamed(text); },
                          [&](BlankLines Settings::*field) { settings.*field = BlankLinesNamed(text); }},
               setting.field);
}

QString TextOf(const Settings &settings, const SettingKey &setting)
{
    return std::visit(Overloaded{[&](QString Settings::*text) {
                                     const bool name = setting.kind == SettingKind::BookName;
                                     return name ? BookNameAsSetting(settings.*text) : settings.*text;
                                 },
                                 [&](int Settings::*number) {
                                     if (setting.kind == SettingKind::Tenths)
                                         return QString::number(settings.*number / 10.0, 'f', 1);
                                     return QString::number(settings.*number);
                                 },
                                 [&](std::optional<int> Settings::*number) {
                                     return settings.*number ? QString::number(*(settings.*number)) : QString();
                                 },
                                 [&](bool Settings::*on) { return QString::number(settings.*on ? 1 : 0); },
                                 [&](Indentation Settings::*choice) { return NameOf(settings.*choice); },
                                 [&](BlankLines Settings::*choice) { return NameOf(settings.*choice); }},
                      setting.field);
}

} // namespace

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

SettingTexts ReadSettingTexts(const QString &settingsPath)
{
    const IniSnapshot file(settingsPath);
    SettingTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const SettingKey &setting = kSettingKeys[i];
        const QString fallback =
            setting.defaultValue ? QString::fromUtf8(setting.defaultValue) : DefaultBookDirectory();
        texts[i] = file.Value(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), fallback);
    }
    return texts;
}

Settings SettingsFrom(const SettingTexts &texts)
{
    Settings settings;
    for (std::size_t i = 0; i < texts.size(); ++i)
        Assign(settings, kSettingKeys[i], texts[i]);
    return settings;
}

SettingTexts TextsOf(const Settings &settings)
{
    SettingTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = TextOf(settings, kSettingKeys[i]);
    return texts;
}

bool WriteSettingTexts(const QString &settingsPath, const SettingTexts &texts)
{
    // The configuration folder of an installed program may not exist yet.
    QDir().mkpath(QFileInfo(settingsPath).absolutePath());
    QList<IniValue> values;
    values.reserve(qsizetype(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i)
        values.append({QString::fromUtf8(kSettingKeys[i].section), QString::fromUtf8(kSettingKeys[i].key), texts[i]});
    const IniFileLock lock(settingsPath);
    return WriteIniValues(settingsPath, values);
}

Settings LoadSettings(const QString &settingsPath)
{
    return SettingsFrom(ReadSettingTexts(settingsPath));
}

void SaveSettings(const QString &settingsPath, const Settings &settings)
{
    WriteSettingTexts(settingsPath, TextsOf(settings));
}

std::optional<int> SettingNumber(const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<int> SettingTenths(const QString &value)
{
    static constexpr double kLargest = 100000;
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok || !(qAbs(number) <= kLargest))
        return std::nullopt;
    return int(std::lround(number * 10));
}

QString BookStorePathFor(const QString &settingsPath)
{
    return QFileInfo(settingsPath).dir().filePath(QStringLiteral("books.db"));
}
