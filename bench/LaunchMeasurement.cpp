#include "LaunchMeasurement.h"

#include "core/Settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

namespace {

constexpr int kPatienceMs = 60000;

double MillisecondsOf(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The program in a folder of its own, with settings that reopen the book at
// the chapter in the middle of its list; that chapter's index.
int PrepareProgram(const BenchBook &book, const QString &scratch)
{
    const QString program = QDir(scratch).filePath(QStringLiteral("folivar"));
    if (!QFileInfo::exists(program) && !QFile::copy(QStringLiteral(FOLIVAR_PROGRAM), program))
        return -1;
    const int chapter = book.ChapterItems() / 2;
    Settings settings;
    settings.bookDirectory = QFileInfo(book.path).absolutePath() + QLatin1Char('/');
    settings.book = 0;
    settings.chapter = chapter;
    const QString settingsPath = QDir(scratch).filePath(QStringLiteral("config.ini"));
    QFile::remove(settingsPath);
    QFile::remove(BookStorePathFor(settingsPath));
    SaveSettings(settingsPath, settings);
    return chapter;
}

// The times until the program logged each of the lines, in order; empty
// when it did not log them all.
QList<double> TimeLaunch(const QString &program, const QList<QByteArray> &lines)
{
    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("folivar.app.info=true"));
    reader.setProcessEnvironment(environment);
    reader.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    reader.start(program, {});
    QList<double> times;
    QByteArray log;
    while (times.size() < lines.size() && timer.elapsed() < kPatienceMs && reader.waitForReadyRead(kPatienceMs)) {
        log += reader.readAllStandardError();
        while (times.size() < lines.size() && log.contains(lines[times.size()]))
            times.append(MillisecondsOf(timer));
    }
    reader.terminate();
    if (!reader.waitForFinished(kPatienceMs))
        reader.kill();
    if (times.size() < lines.size()) {
        std::fprintf(stderr, "launch: no \"%s\" in the log:\n%s\n", lines[times.size()].constData(), log.constData());
        return {};
    }
    return times;
}

QByteArray FinishedLine(int chapter)
{
    return "start-up finished, chapter " + QByteArray::number(chapter) + " shown";
}

double TimeIconv(const QString &bookPath)
{
    QProcess iconv;
    QElapsedTimer timer;
    timer.start();
    iconv.start(QStringLiteral("iconv"),
                {QStringLiteral("-f"), QStringLiteral("GB18030"), QStringLiteral("-t"), QStringLiteral("UTF-16LE"),
                 QStringLiteral("-o"), QStringLiteral("/dev/null"), bookPath});
    const bool done = iconv.waitForFinished(kPatienceMs) && iconv.exitCode() == 0;
    return done ? MillisecondsOf(timer) : -1;
}

} // namespace

Measurement MeasureLaunch(const BenchBook &book, const QString &scratch)
{
    const int chapter = PrepareProgram(book, scratch);
    if (chapter < 0) {
        std::fprintf(stderr, "launch: the program could not be copied to %s\n", qPrintable(scratch));
        return {};
    }
    const double floorMs = TimeIconv(book.path);
    const QString program = QDir(scratch).filePath(QStringLiteral("folivar"));
    const QList<double> launch = TimeLaunch(program, {FinishedLine(chapter)});
    // The first launch left the place, and where it lies in the file, in
    // books.db: the second shows the chapter from its bytes first.
    const QList<double> previewed =
        TimeLaunch(program, {"start-up shows the remembered chapter from its bytes", FinishedLine(chapter)});
    if (floorMs < 0 || launch.isEmpty() || previewed.isEmpty())
        return {};
    return {{MeasurementKey::kLaunchMs, launch[0]},
            {MeasurementKey::kLaunchFloorMs, floorMs},
            {MeasurementKey::kPreviewMs, previewed[0]},
            {MeasurementKey::kPreviewedLaunchMs, previewed[1]}};
}
