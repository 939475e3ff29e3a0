#include "KeepingMeasurement.h"

#include "Median.h"
#include "WindowThread.h"
#include "core/IniFile.h"
#include "core/Preferences.h"
#include "session/ReadingSession.h"
#include "support/WaitUntil.h"

#include <QFile>

namespace {

constexpr int kSaves = 9;

double MillisecondsOf(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Every key written one at a time, each a whole write of the file.
double KeyByKeyMs(const QString &path, const SettingTexts &texts)
{
    QElapsedTimer timer;
    timer.start();
    for (std::size_t i = 0; i < texts.size(); ++i)
        WriteIniValue(path, QString::fromUtf8(kSettingKeys[i].section), QString::fromUtf8(kSettingKeys[i].key),
                      texts[i]);
    return MillisecondsOf(timer);
}

} // namespace

Measurement MeasureSettingsSave(Preferences &preferences)
{
    SettingsWriter &writer = preferences.Writer();
    QList<double> saves, keyByKey;
    const QString copy = preferences.Path() + QStringLiteral(".key-by-key");
    for (int i = 0; i < kSaves; ++i) {
        WaitUntil([&] { return !writer.IsWriting(); }, 10000);
        preferences.Set(&Settings::line, preferences.Values().line + 1);
        bool written = false;
        const QMetaObject::Connection told =
            QObject::connect(&writer, &SettingsWriter::written, [&written] { written = true; });
        QElapsedTimer timer;
        timer.start();
        writer.WriteChanges();
        saves.append(MillisecondsOf(timer));
        WaitUntil([&written] { return written; }, 10000);
        QObject::disconnect(told);
        QFile::remove(copy);
        QFile::copy(preferences.Path(), copy);
        keyByKey.append(KeyByKeyMs(copy, preferences.Texts()));
    }
    QFile::remove(copy);
    return {{MeasurementKey::kSettingsSaveMs, Median(saves)}, {MeasurementKey::kSettingsKeyByKeyMs, Median(keyByKey)}};
}

Measurement MeasureAutoScroll(ReadingSession &session, int seconds)
{
    AutoScroll &scroll = session.Scrolling();
    const int speed = scroll.Speed();
    scroll.SetSpeed(AutoScroll::kMostSpeed);
    const int firstChapter = session.ShownChapter();
    StallWatch watch;
    watch.Start();
    scroll.Toggle();
    WaitUntil([&] { return !scroll.IsRunning(); }, seconds * 1000);
    watch.Stop();
    scroll.Stop();
    scroll.SetSpeed(speed);
    return {{MeasurementKey::kScrollStallMs, watch.LongestGapMs()},
            {MeasurementKey::kScrollStallBusyMs, watch.BusyInLongestMs()},
            {MeasurementKey::kScrollChapters, double(session.ShownChapter() - firstChapter)}};
}
