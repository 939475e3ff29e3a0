#include "LibraryMeasurement.h"

#include "BenchBook.h"
#include "BenchReport.h"
#include "Median.h"
#include "core/BookLibrary.h"
#include "core/BookStore.h"
#include "shelf/LibrarySearch.h"
#include "shelf/Shelf.h"
#include "ui/ListBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kListingTargetMs = 300;
constexpr double kKeyTargetMs = 10;
constexpr double kFirstResultsTargetMs = 500;
constexpr double kAllResultsTargetMs = 3000;

// Names as long as readers' are; one book in ten in one of five subfolders.
void WriteManyBooks(const QString &folder, int files)
{
    const QStringList subfolders{QStringLiteral("玄幻"), QStringLiteral("都市"), QStringLiteral("历史"),
                                 QStringLiteral("已读完"), QStringLiteral("已读完/旧")};
    for (const QString &subfolder : subfolders)
        QDir(folder).mkpath(subfolder);
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("某某作者·长篇连载小说第%1部（完结）.txt").arg(i);
        QFile file(QDir(folder).filePath(i % 10 == 0 ? subfolders[i / 10 % 5] + u'/' + name : name));
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
    }
}

void MeasureListing(const QString &folder, int runs)
{
    Shelf shelf;
    ListBox view;
    view.SetModel(&shelf.Books(), &shelf.Shown());
    view.resize(160, 480);
    view.show();
    QList<double> readMs, listedMs, keyMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const BookLibrary library = ListLibrary(folder + u'/');
        readMs.append(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        shelf.ListFolder(folder);
        QCoreApplication::processEvents();
        listedMs.append(double(timer.nsecsElapsed()) / 1e6);
        // A reader typing the number of the book, then deleting it again.
        const QString term = QStringLiteral("长篇连载小说第1234部");
        for (qsizetype typed = 1; typed <= term.size(); ++typed) {
            timer.restart();
            shelf.Shown().SetFilter(term.first(typed));
            QCoreApplication::processEvents();
            keyMs.append(double(timer.nsecsElapsed()) / 1e6);
        }
        shelf.Shown().SetFilter(QString());
        QCoreApplication::processEvents();
        Q_UNUSED(library);
    }
    PrintTargetLine("folder read, 20 000 files", Median(readMs), kListingTargetMs);
    PrintTargetLine("listed and shown", Median(listedMs), kListingTargetMs);
    PrintTargetLine("filter, a key (median)", Median(keyMs), kKeyTargetMs);
    const double slowestKey = *std::max_element(keyMs.begin(), keyMs.end());
    PrintTargetLine("filter, the slowest key", slowestKey, kKeyTargetMs);
}

// Copies of one generated book: the search reads each file whole all the same.
QList<LibraryBook> WriteSearchedLibrary(const QString &folder, int books, int megabytes)
{
    QDir().mkpath(folder);
    const BenchBook book = WriteBenchBook(qMax(1, megabytes / books), folder);
    QList<LibraryBook> library;
    for (int i = 0; i < books && !book.path.isEmpty(); ++i) {
        const QString name = QStringLiteral("书%1.txt").arg(i);
        QFile::copy(book.path, QDir(folder).filePath(name));
        library.append({folder + u'/', name});
    }
    return library;
}

// Four characters from deep in the first chapter, found in every copy.
QString TermIn(const QList<LibraryBook> &library)
{
    QFile file(library.first().folder + library.first().fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder("GB18030");
    const QString text = decoder(file.read(8192));
    return text.mid(text.size() / 2, 4).trimmed();
}

void MeasureSearch(const QString &folder, const LibraryBenchSettings &settings)
{
    const QList<LibraryBook> library = WriteSearchedLibrary(folder, settings.searchBooks, settings.searchMegabytes);
    if (library.isEmpty())
        return (void)std::printf("  library search: the books could not be written\n");
    BookStore store;
    store.Open(QDir(folder).filePath(QStringLiteral("books.db")));
    LibrarySearch search(store);
    const QString term = TermIn(library);
    QList<double> firstMs, allMs;
    for (int run = 0; run < settings.runs; ++run) {
        QEventLoop searching;
        QObject::connect(&search, &LibrarySearch::finished, &searching, &QEventLoop::quit);
        QTimer::singleShot(60000, &searching, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        double first = -1;
        QObject::connect(&search, &LibrarySearch::progressed, &search, [&] {
            if (first < 0 && search.Results().rowCount() > 0)
                first = double(timer.nsecsElapsed()) / 1e6;
        });
        search.Start(term, library);
        searching.exec();
        allMs.append(double(timer.nsecsElapsed()) / 1e6);
        firstMs.append(first);
        QObject::disconnect(&search, &LibrarySearch::progressed, &search, nullptr);
    }
    std::printf("  library search: %lld books, %d MB, term \"%s\": %s\n", qlonglong(library.size()),
                settings.searchMegabytes, qPrintable(term), qPrintable(search.Summary()));
    PrintTargetLine("first results", Median(firstMs), kFirstResultsTargetMs);
    PrintTargetLine("all results", Median(allMs), kAllResultsTargetMs);
}

} // namespace

void PrintLibraryReport(const QString &folder, const LibraryBenchSettings &settings)
{
    std::printf("\nlibrary\n");
    if (settings.files > 0) {
        const QString listed = QDir(folder).filePath(QStringLiteral("many"));
        WriteManyBooks(listed, settings.files);
        MeasureListing(listed, settings.runs);
    }
    if (settings.searchBooks > 0)
        MeasureSearch(QDir(folder).filePath(QStringLiteral("searched")), settings);
}
