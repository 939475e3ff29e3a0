#include "StoreMeasurement.h"

#include "BenchBook.h"
#include "BenchReport.h"
#include "ChildRun.h"
#include "Median.h"
#include "app/MainWindow.h"
#include "app/ReaderServices.h"
#include "core/BookStore.h"
#include "core/Settings.h"
#include "session/ReadingSession.h"
#include "support/WaitForStartUp.h"
#include "ui/VirtualKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>
#include <cstdio>

namespace {

constexpr double kStartUpTargetMs = 2;
constexpr double kSaveTargetMs = 1;

QString BookName(int i)
{
    return QStringLiteral("某某作者·长篇连载小说第%1部（完结）.txt").arg(i);
}

// A record of the size readers' books have: a chapter deep in the book, a
// few removed headings.
BookRecord SampleRecord(int i)
{
    BookRecord record;
    record.size = 8000000 + i;
    record.modified = 1765226317123 + i;
    record.chapter = 1000 + i % 500;
    record.chapterTitle = QStringLiteral("第%1章 风起云涌，故人归来").arg(record.chapter);
    record.line = i % 40;
    record.removedHeadings = {{123456, QStringLiteral("第一次回家\r")}, {234567, QStringLiteral("第二天回到宗门\r")}};
    record.lastRead = 1765226399000 + i;
    return record;
}

QString LibraryOf(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("library"));
}

QString StoreOf(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("books.db"));
}

// The file with the WAL and index SQLite may keep beside it.
void RemoveStore(const QString &path)
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

double MillisecondsOf(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// What the first store of this fresh process starts in Qt's thread pool
// (loading the SQLite driver), which the reader's start-up overlaps with
// building the window.
double MeasureDriverLoading()
{
    QElapsedTimer timer;
    timer.start();
    const BookStore store;
    QThreadPool::globalInstance()->waitForDone();
    return MillisecondsOf(timer);
}

// The store's work on the window's thread at start-up, the driver loaded:
// opening the file and three lookups of the reopened book's record (its
// choices, its removed headings, its place); -1 when a lookup failed.
double MeasureStoreOpening(const QString &folder)
{
    const QString copy = QDir(folder).filePath(QStringLiteral("opening.db"));
    RemoveStore(copy);
    QFile::copy(StoreOf(folder), copy);
    double openingMs = -1;
    {
        BookStore store;
        QElapsedTimer timer;
        timer.start();
        store.Open(copy);
        bool found = true;
        for (int lookup = 0; lookup < 3; ++lookup)
            found = store.Find(BookName(1)).has_value() && found;
        if (found)
            openingMs = MillisecondsOf(timer);
    }
    RemoveStore(copy);
    return openingMs;
}

// Start-up up to its end, then chapter steps and the work a change of books
// does on the store: the place in this book saved, another book's record found.
Measurement StartAndSwitch(bool withStore)
{
    QElapsedTimer timer;
    timer.start();
    // Destroyed without being closed: shutdown would write the settings.
    ReaderServices services;
    MainWindow window(services);
    if (!WaitForStartUp(window))
        return {};
    const double startUpMs = MillisecondsOf(timer);
    ReadingSession &session = window.Session();
    // The first save of a run also starts the file's WAL; the second is
    // what every later one costs.
    double saveMs[2] = {};
    for (double &ms : saveMs) {
        session.OnContentKeyUp(VK_RIGHT, 0);
        timer.restart();
        session.SaveShownPlace();
        ms = MillisecondsOf(timer);
    }
    timer.restart();
    const bool found = services.store.Find(BookName(1)).has_value();
    const double findMs = MillisecondsOf(timer);
    if (found != withStore)
        return {};
    return {{MeasurementKey::kStartUpMs, startUpMs},
            {MeasurementKey::kStoreFirstSaveMs, saveMs[0]},
            {MeasurementKey::kStoreSaveMs, saveMs[1]},
            {MeasurementKey::kStoreSwitchMs, findMs}};
}

void PrintLine(const char *what, double ms, const char *note)
{
    std::printf("  %-26s %9.2f ms     %s\n", what, ms, note);
}

// Every store the books write, through the store itself, one record at a time.
void WriteStore(const QString &path, int books, const QString &openBookName)
{
    RemoveStore(path);
    BookStore store;
    store.Open(path);
    for (int i = 0; i < books; ++i)
        store.Put(BookName(i), SampleRecord(i));
    store.Put(openBookName, SampleRecord(books));
}

} // namespace

Measurement MeasureStoreRun(const QString &folder, bool withStore)
{
    const QString settingsPath = SettingsPathFor(QCoreApplication::applicationDirPath());
    const QString storePath = BookStorePathFor(settingsPath);
    Settings settings;
    settings.bookDirectory = LibraryOf(folder) + QLatin1Char('/');
    settings.book = 0;
    settings.chapter = 3;
    QFile::remove(settingsPath);
    SaveSettings(settingsPath, settings);
    RemoveStore(storePath);
    // Both kinds of run load the driver first, so that their start-ups
    // differ by the store's content alone.
    const double loadingMs = MeasureDriverLoading();
    const double openingMs = MeasureStoreOpening(folder);
    if (withStore)
        QFile::copy(StoreOf(folder), storePath);
    Measurement measurement = StartAndSwitch(withStore);
    QFile::remove(settingsPath);
    RemoveStore(storePath);
    if (measurement.isEmpty() || openingMs < 0)
        return {};
    measurement.insert(MeasurementKey::kStoreLoadMs, loadingMs);
    measurement.insert(MeasurementKey::kStoreOpenMs, openingMs);
    return measurement;
}

void PrintStoreReport(const QString &folder, int books, int runs)
{
    QDir().mkpath(LibraryOf(folder));
    const BenchBook book = WriteBenchBook(1, LibraryOf(folder));
    WriteStore(StoreOf(folder), books, QFileInfo(book.path).fileName());
    std::printf("book store: %d books, %lld bytes; a 1 MB book reopened at start-up; median of %d runs each\n", books,
                static_cast<long long>(QFileInfo(StoreOf(folder)).size()), runs);
    // By key: the runs with the store, and the start-ups without it.
    QMap<QString, QList<double>> with;
    QList<double> without;
    for (int run = 0; run < runs; ++run) {
        const Measurement stored = RunChild({QLatin1String("--") + ChildOption::kStoreRun, folder});
        const Measurement bare = RunChild(
            {QLatin1String("--") + ChildOption::kStoreRun, folder, QLatin1String("--") + ChildOption::kWithoutStore});
        if (stored.isEmpty() || bare.isEmpty())
            continue;
        for (auto figure = stored.cbegin(); figure != stored.cend(); ++figure)
            with[figure.key()].append(figure.value());
        without.append(bare.value(MeasurementKey::kStartUpMs));
    }
    const auto median = [&with](const QString &key) { return Median(with.value(key)); };
    PrintLine("start-up with the store", median(MeasurementKey::kStartUpMs), "");
    PrintLine("start-up with an empty one", Median(without), "(creates a new books.db)");
    PrintLine("loading the SQLite driver", median(MeasurementKey::kStoreLoadMs),
              "(thread pool, while the window is built)");
    PrintTargetLine("start-up's work on it", median(MeasurementKey::kStoreOpenMs), kStartUpTargetMs);
    PrintLine("the first save of a run", median(MeasurementKey::kStoreFirstSaveMs), "(starts the WAL)");
    PrintTargetLine("saving a place", median(MeasurementKey::kStoreSaveMs), kSaveTargetMs);
    PrintLine("finding another record", median(MeasurementKey::kStoreSwitchMs), "");
    std::printf("\n");
    std::fflush(stdout);
}
