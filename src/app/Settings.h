#pragma once
// The eight remembered values: where each lives in the settings file and what
// a missing one reads as. Every access to the file goes through this table.
#include <QString>

#include <initializer_list>
#include <optional>

struct SettingKey {
    const char *section;
    const char *key;
    const char *defaultValue;
};

namespace Setting {
inline constexpr SettingKey BookDirectory{"Config", "路径", nullptr}; // default: DefaultBookDirectory()
inline constexpr SettingKey Book{"Config", "书", ""};
inline constexpr SettingKey Chapter{"Config", "章", ""};
inline constexpr SettingKey Line{"Config", "行", "0"};
inline constexpr SettingKey FontName{"字体", "字体", ""};
inline constexpr SettingKey FontSize{"字体", "字体大小", ""};
inline constexpr SettingKey TextColour{"字体", "文本颜色", ""};
inline constexpr SettingKey BackgroundColour{"字体", "背景颜色", ""};
} // namespace Setting

// "config.ini" beside the program when its folder can take it (portable use);
// otherwise, as for an installed program, in the user's configuration folder.
QString SettingsPathFor(const QString &programDirectory);
// The book folder a first run lists: "d:\book\" on Windows, ~/book/ elsewhere.
QString DefaultBookDirectory();

struct SettingValue {
    const SettingKey &setting;
    QString value;
};

QString ReadSetting(const QString &settingsPath, const SettingKey &setting);
void WriteSetting(const QString &settingsPath, const SettingKey &setting, const QString &value);
// Writes the values one by one, in the order given, while no other reader
// sharing the file writes its own group: two readers closing at once leave
// the file as one or the other saved it.
void WriteSettingGroup(const QString &settingsPath, std::initializer_list<SettingValue> values);
// The remembered number; nullopt when the text is not a 32-bit decimal integer.
std::optional<int> SettingNumber(const QString &value);
// Text-to-integer for remembered numbers: anything that is not a decimal
// integer reads as 0.
int SettingToInt(const QString &value);
