#include "StoreMeasurement.h"

#include "BenchBook.h"
#include "ChildRun.h"
#include "Median.h"
#include "app/MainWindow.h"
#include "app/ReaderState.h"
#include "core/BookStoreFile.h"
#include "core/Settings.h"
#include "session/ReadingSession.h"
#include "support/WaitForStartUp.h"
#include "ui/VirtualKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr double kTargetMs = 5;

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
    return QDir(folder).filePath(QStringLiteral("books.json"));
}

double MillisecondsOf(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// Start-up up to its end, then chapter steps and the work a change of books
// does on the store: the place in this book saved, another book's record found.
Measurement StartAndSwitch(bool withStore)
{
    QElapsedTimer timer;
    timer.start();
    // Destroyed without being closed: shutdown would write the settings.
    ReaderState state;
    MainWindow window(state);
    if (!WaitForStartUp(state))
        return {};
    const double startUpMs = MillisecondsOf(timer);
    ReadingSession &session = window.Session();
    // The second change is the one measured: from then on the store's own
    // thread holds the records as well, and a change copies them.
    for (int change = 0; change < 2; ++change) {
        session.OnContentKeyUp(VK_RIGHT, 0);
        timer.restart();
        session.SaveShownPlace();
    }
    const bool found = state.store.Find(BookName(1)).has_value();
    const double switchMs = MillisecondsOf(timer);
    if (found != withStore)
        return {};
    return {{MeasurementKey::StartUpMs, startUpMs}, {MeasurementKey::StoreSwitchMs, switchMs}};
}

void PrintLine(const char *what, double ms, const char *note)
{
    std::printf("  %-23s %9.2f ms     %s\n", what, ms, note);
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
    QFile::remove(storePath);
    if (withStore)
        QFile::copy(StoreOf(folder), storePath);
    const Measurement measurement = StartAndSwitch(withStore);
    QFile::remove(settingsPath);
    QFile::remove(storePath);
    return measurement;
}

void PrintStoreReport(const QString &folder, int books, int runs)
{
    QDir().mkpath(LibraryOf(folder));
    const BenchBook book = WriteBenchBook(1, LibraryOf(folder));
    BookRecords records;
    for (int i = 0; i < books; ++i)
        records.insert(BookName(i), SampleRecord(i));
    records.insert(QFileInfo(book.path).fileName(), SampleRecord(books));
    BookStoreFile(StoreOf(folder)).Save(records);
    std::printf("book store: %d books, %lld bytes; a 1 MB book reopened at start-up; median of %d runs each\n", books,
                static_cast<long long>(QFileInfo(StoreOf(folder)).size()), runs);
    QList<double> with, without, switches;
    for (int run = 0; run < runs; ++run) {
        const Measurement stored = RunChild({QLatin1String("--") + ChildOption::StoreRun, folder});
        const Measurement bare = RunChild(
            {QLatin1String("--") + ChildOption::StoreRun, folder, QLatin1String("--") + ChildOption::WithoutStore});
        if (stored.isEmpty() || bare.isEmpty())
            continue;
        with.append(stored.value(MeasurementKey::StartUpMs));
        without.append(bare.value(MeasurementKey::StartUpMs));
        switches.append(stored.value(MeasurementKey::StoreSwitchMs));
    }
    const double startUpCost = Median(with) - Median(without);
    PrintLine("start-up with the store", Median(with), "");
    PrintLine("start-up without it", Median(without), "");
    std::printf("  %-23s %9.2f ms     target <= %.0f ms       %s\n", "start-up spends on it", startUpCost, kTargetMs,
                startUpCost <= kTargetMs ? "PASS" : "MISS");
    std::printf("  %-23s %9.2f ms     target <= %.0f ms       %s\n\n", "a change of books", Median(switches), kTargetMs,
                Median(switches) <= kTargetMs ? "PASS" : "MISS");
    std::fflush(stdout);
}
