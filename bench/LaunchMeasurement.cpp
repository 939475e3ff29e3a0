#include "LaunchMeasurement.h"

#include "ProcessMemory.h"
#include "core/Settings.h"

#include <QDateTime>
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

struct TimedLaunch {
    QList<double> lineMs;  // until each line was logged; empty when one was not
    qint64 peakBytes = -1; // VmHWM once the last line was logged
};

QProcessEnvironment LaunchEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The shelf tells when it refuses to show a chapter from its bytes.
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("folivar.app.info=true;folivar.shelf.info=true"));
    return environment;
}

// The times until the program logged each of the lines, in order, and its
// peak memory by then. It is not waited for past its last line.
TimedLaunch TimeLaunch(const QString &program, const QList<QByteArray> &lines)
{
    QProcess reader;
    reader.setProcessEnvironment(LaunchEnvironment());
    reader.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    reader.start(program, {});
    TimedLaunch launch;
    QByteArray log;
    while (!log.contains(lines.last()) && timer.elapsed() < kPatienceMs && reader.waitForReadyRead(kPatienceMs)) {
        log += reader.readAllStandardError();
        while (launch.lineMs.size() < lines.size() && log.contains(lines[launch.lineMs.size()]))
            launch.lineMs.append(MillisecondsOf(timer));
    }
    launch.peakBytes = PeakResidentBytesOf(reader.processId());
    reader.terminate();
    if (!reader.waitForFinished(kPatienceMs))
        reader.kill();
    if (launch.lineMs.size() < lines.size()) {
        std::fprintf(stderr, "launch: no \"%s\" in the log:\n%s\n", lines[launch.lineMs.size()].constData(),
                     log.constData());
        return {};
    }
    return launch;
}

constexpr char kPreviewLine[] = "start-up shows the remembered chapter from its bytes";
// The shelf's word that the file no longer matches the place recorded in it.
constexpr char kRefusalLine[] = "no preview of";

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

// One second later than it was: the file no longer matches the record in
// books.db, as after an edit, so the program must not trust the bytes the
// record names.
bool MoveModificationTime(const QString &bookPath)
{
    QFile book(bookPath);
    if (!book.open(QIODevice::ReadWrite))
        return false;
    const QDateTime modified = book.fileTime(QFileDevice::FileModificationTime);
    return book.setFileTime(modified.addSecs(1), QFileDevice::FileModificationTime);
}

// A launch that reads the whole book before it shows the chapter. Once it is
// shown the program records the moved time with the place, so the next
// launch previews again; moving the time back would refuse that one too.
TimedLaunch TimeRefusedLaunch(const QString &program, const QString &bookPath, int chapter)
{
    if (!MoveModificationTime(bookPath)) {
        std::fprintf(stderr, "launch: the modification time of %s could not be moved\n", qPrintable(bookPath));
        return {};
    }
    return TimeLaunch(program, {kRefusalLine, FinishedLine(chapter)});
}

struct PreviewLaunches {
    TimedLaunch previewed;
    TimedLaunch refused;
};

// Both launches on the same store, one after the other; whichever goes
// second finds the file and the store the warmer.
PreviewLaunches TimePreviewLaunches(const QString &program, const QString &bookPath, int chapter, bool refusedFirst)
{
    PreviewLaunches launches;
    if (refusedFirst)
        launches.refused = TimeRefusedLaunch(program, bookPath, chapter);
    launches.previewed = TimeLaunch(program, {kPreviewLine, FinishedLine(chapter)});
    if (!refusedFirst)
        launches.refused = TimeRefusedLaunch(program, bookPath, chapter);
    return launches;
}

} // namespace

Measurement MeasureLaunch(const BenchBook &book, const QString &scratch, bool refusedFirst)
{
    const int chapter = PrepareProgram(book, scratch);
    if (chapter < 0) {
        std::fprintf(stderr, "launch: the program could not be copied to %s\n", qPrintable(scratch));
        return {};
    }
    const double floorMs = TimeIconv(book.path);
    const QString program = QDir(scratch).filePath(QStringLiteral("folivar"));
    const QList<double> launch = TimeLaunch(program, {FinishedLine(chapter)}).lineMs;
    // The first launch left the place, and where it lies in the file, in
    // books.db: from now on the program shows the chapter from its bytes first.
    const PreviewLaunches launches = TimePreviewLaunches(program, book.path, chapter, refusedFirst);
    const QList<double> &previewed = launches.previewed.lineMs;
    const QList<double> &refused = launches.refused.lineMs;
    if (floorMs < 0 || launch.isEmpty() || previewed.isEmpty() || refused.isEmpty())
        return {};
    return {{MeasurementKey::kLaunchMs, launch[0]},
            {MeasurementKey::kLaunchFloorMs, floorMs},
            {MeasurementKey::kPreviewMs, previewed[0]},
            {MeasurementKey::kPreviewedLaunchMs, previewed[1]},
            {MeasurementKey::kPreviewedPeakBytes, double(launches.previewed.peakBytes)},
            {MeasurementKey::kRefusedLaunchMs, refused[1]},
            {MeasurementKey::kRefusedPeakBytes, double(launches.refused.peakBytes)}};
}
