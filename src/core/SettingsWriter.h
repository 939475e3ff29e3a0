#pragma once
// Writes the settings file off the window's thread: one whole-file write
// (WriteSettingTexts) in Qt's thread pool, a second after the first change
// not yet written, so that one change after another (自动滚动) still saves
// every second. Never two writes at once: a change during a write is written
// after it. Only texts that differ from what the file was last given are
// written, except by WriteNow.
#include "core/Settings.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

class SettingsWriter : public QObject {
    Q_OBJECT
public:
    // `texts` gives what is to be written, asked on this object's thread.
    explicit SettingsWriter(std::function<SettingTexts()> texts, QObject *parent = nullptr);
    // Waits for a write under way.
    ~SettingsWriter() override;

    // The file to write and what it holds now.
    void SetFile(const QString &path, const SettingTexts &held);
    const QString &Path() const { return path_; }
    // Changes are written from now on; before, they are only noted.
    void Start();
    // A value changed: written a second after the first change not yet
    // written.
    void ChangeSoon();
    // Starts writing what differs from the file, in Qt's thread pool; after
    // the write under way, when there is one. What the timer does.
    void WriteChanges();
    // Waits for a write under way and writes the texts now, on the caller's
    // thread, whatever the file holds; nothing is written after it.
    void WriteNow();
    bool IsWriting() const { return writing_.isRunning(); }

Q_SIGNALS:
    // A write has ended; whether the file holds what it was given.
    void written(bool ok);

private:
    void OnWritten();

    std::function<SettingTexts()> texts_;
    QString path_;
    SettingTexts held_;
    SettingTexts underWay_;
    bool started_ = false;
    bool stopped_ = false;
    // A change came in while a write was under way.
    bool again_ = false;
    QTimer afterChange_;
    QFutureWatcher<bool> writing_;
};
