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

// Until the program says which chapter start-up showed; -1 when it never did.
double TimeLaunch(const QString &program, int chapter)
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
    const QByteArray expected = "start-up finished, chapter " + QByteArray::number(chapter) + " shown";
    double launchMs = -1;
    QByteArray log;
    while (launchMs < 0 && timer.elapsed() < kPatienceMs && reader.waitForReadyRead(kPatienceMs)) {
        log += reader.readAllStandardError();
        if (log.contains(expected))
            launchMs = MillisecondsOf(timer);
    }
    reader.terminate();
    if (!reader.waitForFinished(kPatienceMs))
        reader.kill();
    if (launchMs < 0)
        std::fprintf(stderr, "launch: no \"%s\" in the log:\n%s\n", expected.constData(), log.constData());
    return launchMs;
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
    const double launchMs = TimeLaunch(QDir(scratch).filePath(QStringLiteral("folivar")), chapter);
    if (floorMs < 0 || launchMs < 0)
        return {};
    return {{MeasurementKey::kLaunchMs, launchMs}, {MeasurementKey::kLaunchFloorMs, floorMs}};
}
