#include "core/SettingsWriter.h"

#include "core/Log.h"

#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr int kAfterChangeMs = 1000;

} // namespace

SettingsWriter::SettingsWriter(std::function<SettingTexts()> texts, QObject *parent)
    : QObject(parent), texts_(std::move(texts))
{
    afterChange_.setSingleShot(true);
    afterChange_.setInterval(kAfterChangeMs);
    connect(&afterChange_, &QTimer::timeout, this, &SettingsWriter::WriteChanges);
    connect(&writing_, &QFutureWatcher<bool>::finished, this, &SettingsWriter::OnWritten);
}

SettingsWriter::~SettingsWriter()
{
    writing_.waitForFinished();
}

void SettingsWriter::SetFile(const QString &path, const SettingTexts &held)
{
    path_ = path;
    held_ = held;
}

void SettingsWriter::Start()
{
    started_ = true;
}

// Counted from the first change, so that one change after another still
// saves every second.
void SettingsWriter::ChangeSoon()
{
    if (started_ && !stopped_ && !afterChange_.isActive())
        afterChange_.start();
}

void SettingsWriter::WriteChanges()
{
    if (stopped_)
        return;
    if (IsWriting()) {
        again_ = true;
        return;
    }
    const SettingTexts texts = texts_();
    if (texts == held_)
        return;
    underWay_ = texts;
    writing_.setFuture(QtConcurrent::run([path = path_, texts] { return WriteSettingTexts(path, texts); }));
}

void SettingsWriter::OnWritten()
{
    const bool ok = writing_.result();
    qCInfo(lcCore) << (ok ? "wrote the settings to" : "could not write the settings to") << path_;
    // A write that failed is tried again with the next change.
    if (ok)
        held_ = underWay_;
    Q_EMIT written(ok);
    if (std::exchange(again_, false))
        WriteChanges();
}

void SettingsWriter::WriteNow()
{
    stopped_ = true;
    afterChange_.stop();
    writing_.waitForFinished();
    held_ = texts_();
    const bool ok = WriteSettingTexts(path_, held_);
    if (!ok)
        qCWarning(lcCore) << "could not write the settings to" << path_;
    Q_EMIT written(ok);
}
