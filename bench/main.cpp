// folivar-bench: opens generated novels of 8 MB and 64 MB through the real
// reader, offscreen, and prints the figures next to the floor of reading and
// decoding the same file. Always exits 0 after a benchmark: it measures, it
// does not judge the build.
#include "BenchRunner.h"
#include "FloorMeasurement.h"
#include "HighlightMeasurement.h"
#include "ReaderMeasurement.h"
#include "StoreMeasurement.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

QList<int> SizesFrom(const QString &list)
{
    QList<int> sizes;
    for (const QString &item : list.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int megabytes = item.trimmed().toInt(&ok);
        if (ok && megabytes > 0)
            sizes.append(megabytes);
    }
    return sizes;
}

int PrintChildMeasurement(const Measurement &measurement)
{
    if (measurement.isEmpty())
        return 1;
    PrintMeasurement(measurement);
    return 0;
}

QCommandLineOption ChildRunOption(const QString &name)
{
    QCommandLineOption option(name, QStringLiteral("(internal) one measuring run on this book"),
                              QStringLiteral("book"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

int main(int argc, char *argv[])
{
    // The window is measured, not watched.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times opening and reading generated novels in the reader."));
    parser.addHelpOption();
    const QCommandLineOption sizes(QStringLiteral("sizes"), QStringLiteral("Book sizes in MB, in order."),
                                   QStringLiteral("list"), QStringLiteral("8,64"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs per size."), QStringLiteral("n"),
                                  QStringLiteral("5"));
    const QCommandLineOption arrowSteps(ChildOption::kArrowSteps, QStringLiteral("Right-arrow steps per run."),
                                        QStringLiteral("n"), QStringLiteral("200"));
    const QCommandLineOption scrollSeconds(ChildOption::kScrollSeconds,
                                           QStringLiteral("Seconds of 自动滚动 per run (0: none)."),
                                           QStringLiteral("n"), QStringLiteral("60"));
    const QCommandLineOption storeBooks(QStringLiteral("store-books"),
                                        QStringLiteral("Books in the measured book store (0: none)."),
                                        QStringLiteral("n"), QStringLiteral("5000"));
    const QCommandLineOption libraryFiles(QStringLiteral("library-files"),
                                          QStringLiteral("Books in the listed library (0: none)."), QStringLiteral("n"),
                                          QStringLiteral("20000"));
    const QCommandLineOption libraryBooks(QStringLiteral("library-books"),
                                          QStringLiteral("Books in the searched library (0: none)."),
                                          QStringLiteral("n"), QStringLiteral("60"));
    const QCommandLineOption libraryMegabytes(QStringLiteral("library-mb"),
                                              QStringLiteral("Megabytes of the searched library."), QStringLiteral("n"),
                                              QStringLiteral("500"));
    const QCommandLineOption readerRun = ChildRunOption(ChildOption::kReaderRun);
    const QCommandLineOption storeRun = ChildRunOption(ChildOption::kStoreRun);
    const QCommandLineOption highlightsRun = ChildRunOption(ChildOption::kHighlightsRun);
    QCommandLineOption withoutStore(ChildOption::kWithoutStore);
    withoutStore.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption floorRun = ChildRunOption(ChildOption::kFloorRun);
    parser.addOptions({sizes, runs, arrowSteps, scrollSeconds, storeBooks, libraryFiles, libraryBooks, libraryMegabytes,
                       readerRun, floorRun, storeRun, withoutStore, highlightsRun});
    parser.process(app);

    const int steps = qMax(1, parser.value(arrowSteps).toInt());
    const int seconds = qMax(0, parser.value(scrollSeconds).toInt());
    if (parser.isSet(readerRun))
        return PrintChildMeasurement(MeasureReader(parser.value(readerRun), steps, seconds));
    if (parser.isSet(highlightsRun))
        return PrintChildMeasurement(MeasureHighlightedSteps(parser.value(highlightsRun), steps));
    if (parser.isSet(floorRun))
        return PrintChildMeasurement(MeasureFloor(parser.value(floorRun)));
    if (parser.isSet(storeRun))
        return PrintChildMeasurement(MeasureStoreRun(parser.value(storeRun), !parser.isSet(withoutStore)));

    const int runCount = qMax(1, parser.value(runs).toInt());
    const LibraryBenchSettings library{qMax(0, parser.value(libraryFiles).toInt()),
                                       qMax(0, parser.value(libraryBooks).toInt()),
                                       qMax(1, parser.value(libraryMegabytes).toInt()), runCount};
    RunBenchmark(
        {SizesFrom(parser.value(sizes)), runCount, steps, seconds, qMax(0, parser.value(storeBooks).toInt()), library});
    return 0;
}
