#pragma once
// Every value config.ini keeps, typed, for the whole run: read once as the
// reader starts, then read and changed by the menus, the dialogs and the
// session, each change told by `changed`. The file is written whole, in one
// write off the window's thread (see SettingsWriter), a second after the
// first change not yet written and at shutdown.
//
// The place (section "Config") goes back to the file as it was read, text
// for text, until some part of the reader sets it: a place that start-up
// could not restore (a book folder on a drive not mounted) is kept for the
// next start. Every other value is written as its type writes it.
#include "core/Settings.h"
#include "core/SettingsWriter.h"

#include <QObject>

#include <bitset>

class Preferences : public QObject {
    Q_OBJECT
public:
    explicit Preferences(QObject *parent = nullptr);

    // Reads the settings file at `path`, which every later save writes; the
    // values become what it holds. Nothing is written yet.
    void Load(const QString &path);
    const QString &Path() const { return writer_.Path(); }
    // Whether the file was there when loaded, and when it was last written
    // then (milliseconds since 1970, UTC; 0 without a file).
    bool FileExisted() const { return fileTime_ > 0; }
    qint64 FileTime() const { return fileTime_; }

    const Settings &Values() const { return values_; }
    // Sets one value; `changed` follows when it differs. Its text is what
    // the next save writes from then on, even when the value stays the same.
    template <typename Value>
    void Set(Value Settings::*field, const Value &value)
    {
        const SettingId id = IdOf(field);
        const bool differs = !(values_.*field == value);
        if (!differs && decided_.test(id))
            return;
        values_.*field = value;
        decided_.set(id);
        Changed(id, differs);
    }

    // Saving begins: a second after the first change not yet written.
    void StartSaving() { writer_.Start(); }
    // Shutdown: writes every value now, whatever the file holds, after any
    // write under way; nothing is written after it.
    void SaveAndStop();
    // The texts a save writes now, in the table's order.
    SettingTexts Texts() const;
    SettingsWriter &Writer() { return writer_; }

Q_SIGNALS:
    void changed(SettingId id);

private:
    void Changed(SettingId id, bool differs);

    Settings values_;
    // The texts the file held when loaded, written back for the values no
    // part of the reader has set.
    SettingTexts read_;
    std::bitset<std::size(kSettingKeys)> decided_;
    qint64 fileTime_ = 0;
    SettingsWriter writer_;
};
