#include "core/Preferences.h"

#include <QFileInfo>

#include <string_view>

namespace {

bool IsPlace(const SettingKey &setting)
{
    return setting.section == std::string_view("Config");
}

} // namespace

Preferences::Preferences(QObject *parent) : QObject(parent), writer_([this] { return Texts(); }) {}

void Preferences::Load(const QString &path)
{
    const QFileInfo file(path);
    fileTime_ = file.exists() ? qMax<qint64>(1, file.lastModified().toMSecsSinceEpoch()) : 0;
    read_ = ReadSettingTexts(path);
    values_ = SettingsFrom(read_);
    decided_.reset();
    for (SettingId id = 0; id < std::size(kSettingKeys); ++id)
        decided_.set(id, !IsPlace(kSettingKeys[id]));
    writer_.SetFile(path, read_);
}

SettingTexts Preferences::Texts() const
{
    SettingTexts texts = TextsOf(values_);
    for (SettingId id = 0; id < texts.size(); ++id)
        if (!decided_.test(id))
            texts[id] = read_[id];
    return texts;
}

void Preferences::SaveAndStop()
{
    writer_.WriteNow();
}

void Preferences::Changed(SettingId id, bool differs)
{
    if (differs)
        Q_EMIT changed(id);
    writer_.ChangeSoon();
}
