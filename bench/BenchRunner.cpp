#include "BenchRunner.h"

#include "BenchHighlights.h"
#include "BenchReport.h"
#include "LaunchMeasurement.h"
#include "StoreMeasurement.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void AppendIfMeasured(QList<Measurement> &runs, const Measurement &measurement)
{
    if (!measurement.isEmpty())
        runs.append(measurement);
}

QString Option(const QString &name)
{
    return QLatin1String("--") + name;
}

// A run of each kind on the book. The highlights are in the store for their
// own run only, taken out again whatever became of it. The launches with and
// without a preview take turns at going first.
void MeasureRun(SizeResult &result, const BenchSettings &settings, const QString &scratch, int run)
{
    const QString &book = result.book.path;
    const QString steps = QString::number(settings.arrowSteps);
    AppendIfMeasured(result.floorRuns, RunChild({Option(ChildOption::kFloorRun), book}));
    AppendIfMeasured(result.readerRuns,
                     RunChild({Option(ChildOption::kReaderRun), book, Option(ChildOption::kArrowSteps), steps,
                               Option(ChildOption::kScrollSeconds), QString::number(settings.scrollSeconds)}));
    AppendIfMeasured(result.launchRuns, MeasureLaunch(result.book, scratch, run % 2 == 0));
    PutHighlightsInStore(book, result.book.highlights);
    AppendIfMeasured(result.highlightRuns,
                     RunChild({Option(ChildOption::kHighlightsRun), book, Option(ChildOption::kArrowSteps), steps}));
    PutHighlightsInStore(book, {});
}

SizeResult MeasureSize(int megabytes, const BenchSettings &settings, const QString &folder, const QString &scratch)
{
    SizeResult result;
    result.megabytes = megabytes;
    std::fprintf(stderr, "%d MB: writing the book\n", megabytes);
    result.book = WriteBenchBook(megabytes, folder);
    if (result.book.path.isEmpty()) {
        std::fprintf(stderr, "%d MB: the book could not be written to %s\n", megabytes, qPrintable(folder));
        return result;
    }
    for (int run = 1; run <= settings.runs; ++run) {
        std::fprintf(stderr, "%d MB: run %d of %d\n", megabytes, run, settings.runs);
        MeasureRun(result, settings, scratch, run);
    }
    QFile::remove(result.book.path);
    return result;
}

// Timings on a shared machine mean little without it.
void PrintLoadAverage(const char *when)
{
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    if (loadAverage.open(QIODevice::ReadOnly))
        std::printf("load average %s: %s\n", when, loadAverage.readAll().trimmed().constData());
    std::fflush(stdout);
}

} // namespace

void RunBenchmark(const BenchSettings &settings)
{
    const QTemporaryDir books;
    if (!books.isValid()) {
        std::fprintf(stderr, "no temporary folder for the books\n");
        return;
    }
    PrintLoadAverage("at start");
    QMap<int, QList<Measurement>> launchRunsBySize;
    for (const int megabytes : settings.megabytes) {
        // A folder of its own, so the book list holds this one book.
        const QString folder = books.filePath(QString::number(megabytes));
        QDir().mkpath(folder);
        const QString scratch = books.filePath(QStringLiteral("program"));
        QDir().mkpath(scratch);
        const SizeResult result = MeasureSize(megabytes, settings, folder, scratch);
        PrintSizeReport(result, settings.runs);
        if (!result.launchRuns.isEmpty())
            launchRunsBySize.insert(megabytes, result.launchRuns);
    }
    PrintPreviewFlatness(launchRunsBySize);
    if (settings.storeBooks > 0)
        // A difference of two start-ups needs more runs than one figure does.
        PrintStoreReport(books.filePath(QStringLiteral("store")), settings.storeBooks, qMax(settings.runs, 15));
    PrintLibraryReport(books.filePath(QStringLiteral("library")), settings.library);
    PrintLoadAverage("at end");
    // The reader runs remove it themselves; a crashed one would leave it behind.
    QFile::remove(SettingsPathFor(QCoreApplication::applicationDirPath()));
}
