// folivar-decode-bench: what decoding a generated GBK book costs, page cache
// warm, best of several runs: the two GB18030 decoders on their own (Qt's,
// through ICU, and the C library's iconv) on one thread and on two; the
// one-thread loop the loader ran before against ReadBookText; the chapter
// search whole and split over threads; and the peak memory of each reading
// above idle, each in a fresh process. It measures; it does not judge.
#include "BenchBook.h"
#include "ProcessMemory.h"
#include "core/BookDecoder.h"
#include "core/BookReading.h"
#include "core/ChapterRules.h"
#include "core/OrderedTasks.h"
#include "core/SplitChapterIndex.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <functional>

namespace {

const QString kMemoryRun = QStringLiteral("memory-run");
const QString kOneThreadLoop = QStringLiteral("one-thread-loop");

double BestMs(int runs, const std::function<void()> &work)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        best = run == 0 ? ms : qMin(best, ms);
    }
    return best;
}

// The decoders alone: piece by piece into one room used over and over, so
// that what is timed is the decoding and not the new memory a text takes
// (its page faults cost more than the decoding on a virtual machine). Both
// give the number of units decoded.
qsizetype DecodeByQt(QByteArrayView bytes)
{
    QStringDecoder decoder("GB18030");
    QString room(decoder.requiredSpace(kBookPieceSize), Qt::Uninitialized);
    qsizetype units = 0;
    for (qsizetype at = 0; at < bytes.size(); at += kBookPieceSize) {
        const QByteArrayView piece = bytes.sliced(at, qMin<qsizetype>(kBookPieceSize, bytes.size() - at));
        units += decoder.appendToBuffer(room.data(), piece) - room.data();
    }
    return units;
}

qsizetype DecodeByIconv(QByteArrayView bytes)
{
    QString room(kBookPieceSize, Qt::Uninitialized);
    const iconv_t converter = iconv_open("UTF-16LE", "GB18030");
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    qsizetype units = 0;
    for (;;) {
        char *out = reinterpret_cast<char *>(room.data());
        size_t roomLeft = size_t(room.size()) * sizeof(char16_t);
        const size_t stopped = iconv(converter, &in, &inLeft, &out, &roomLeft);
        units += room.size() - qsizetype(roomLeft / sizeof(char16_t));
        // A full room stops iconv; it is emptied and iconv goes on.
        if (stopped != size_t(-1) || errno != E2BIG)
            break;
    }
    iconv_close(converter);
    return units;
}

// The halves, cut at the line feed nearest the middle, decoded on two
// threads.
qsizetype DecodeOnTwoThreads(QByteArrayView bytes, qsizetype (*decode)(QByteArrayView))
{
    const qsizetype middle = bytes.indexOf('\n', bytes.size() / 2) + 1;
    OrderedTasks<qsizetype> halves(2);
    halves.Add([=] { return decode(bytes.first(middle)); });
    halves.Add([=] { return decode(bytes.sliced(middle)); });
    return halves.TakeOldest() + halves.TakeOldest();
}

// The loader's loop before the reading was split: the file in pieces, each
// decoded by one BookDecoder in turn.
QString ReadOnOneThread(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 length = file.size();
    BookDecoder decoder({TextEncoding::Gb18030, 0});
    QString text;
    for (;;) {
        const qint64 wanted = qBound<qint64>(0, length - file.pos(), kBookPieceSize);
        const QByteArray piece = file.read(wanted);
        text += decoder.DecodePiece(piece);
        if (piece.size() < wanted || file.pos() >= length)
            return text;
    }
}

QString ReadOnThreads(const QString &path, int threads)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    ReadingSplit split;
    split.threads = threads;
    return ReadBookText(file, file.size(), {TextEncoding::Gb18030, 0}, {}, {}, split).value_or(QString());
}

void MeasureDecoders(const QByteArray &bytes, int runs)
{
    std::printf("decoders alone, GB18030 to UTF-16, into one room used again (%lld units from Qt, %lld from iconv):\n",
                static_cast<long long>(DecodeByQt(bytes)), static_cast<long long>(DecodeByIconv(bytes)));
    std::printf("  Qt (ICU)     one thread %7.1f ms   two threads %7.1f ms\n", BestMs(runs, [&] { DecodeByQt(bytes); }),
                BestMs(runs, [&] { DecodeOnTwoThreads(bytes, DecodeByQt); }));
    std::printf("  iconv        one thread %7.1f ms   two threads %7.1f ms\n",
                BestMs(runs, [&] { DecodeByIconv(bytes); }),
                BestMs(runs, [&] { DecodeOnTwoThreads(bytes, DecodeByIconv); }));
}

void MeasureReading(const QString &path, int runs)
{
    const QString expected = ReadOnOneThread(path);
    std::printf("read + decode (ReadBookText's text %s the one-thread loop's):\n",
                ReadOnThreads(path, 2) == expected ? "equals" : "differs from");
    std::printf("  one-thread loop            %7.1f ms\n", BestMs(runs, [&] { ReadOnOneThread(path); }));
    for (const int threads : {1, 2})
        std::printf("  ReadBookText, %d thread%s    %7.1f ms\n", threads, threads > 1 ? "s" : " ",
                    BestMs(runs, [&] { ReadOnThreads(path, threads); }));
}

void MeasureIndex(const QString &path, int runs)
{
    QString text = ReadOnOneThread(path);
    TrimBookText(text);
    for (const ChapterRule &rule : {ChapterRule{}, ChapterRule{ChapterRule::Strict, {}}}) {
        const QList<ChapterHeading> whole = FindHeadingsByRule(text, rule);
        std::printf("chapter search, %s rule (%lld headings, split search %s):\n",
                    rule.kind == ChapterRule::Strict ? "strict" : "default", static_cast<long long>(whole.size()),
                    FindHeadingsOnThreads(text, rule, 2, {}) == whole ? "the same" : "different");
        std::printf("  one thread %7.1f ms   split on two threads %7.1f ms\n",
                    BestMs(runs, [&] { FindHeadingsByRule(text, rule); }),
                    BestMs(runs, [&] { FindHeadingsOnThreads(text, rule, 2, {}); }));
    }
}

// A fresh process's peak above idle while it reads the book one way.
double PeakAboveIdleMb(const QString &path, const QString &reading)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String("--") + kMemoryRun, reading, path});
    child.waitForFinished(-1);
    return child.readAllStandardOutput().trimmed().toDouble() / (1 << 20);
}

int MemoryRun(const QString &reading, const QString &path)
{
    const qint64 idle = CurrentResidentBytes();
    const QString text = reading == kOneThreadLoop ? ReadOnOneThread(path) : ReadOnThreads(path, 2);
    std::printf("%lld\n", static_cast<long long>(PeakResidentBytes() - idle));
    return text.isEmpty() ? 1 : 0;
}

void MeasureBook(int megabytes, int runs, const QString &folder)
{
    const BenchBook book = WriteBenchBook(megabytes, folder);
    QFile file(book.path);
    if (book.path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    std::printf("\n%d MB GBK book, %lld bytes, page cache warm, best of %d\n", megabytes,
                static_cast<long long>(bytes.size()), runs);
    MeasureDecoders(bytes, runs);
    MeasureReading(book.path, runs);
    MeasureIndex(book.path, runs);
    const double fileMb = double(bytes.size()) / (1 << 20);
    for (const QString &reading : {kOneThreadLoop, QStringLiteral("ReadBookText")}) {
        const double peak = PeakAboveIdleMb(book.path, reading);
        std::printf("peak memory above idle, %s: %.1f MB (%.2f x the file)\n", qPrintable(reading), peak,
                    peak / fileMb);
    }
    QFile::remove(book.path);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times decoding and indexing generated GBK novels."));
    parser.addHelpOption();
    const QCommandLineOption sizes(QStringLiteral("sizes"), QStringLiteral("Book sizes in MB."), QStringLiteral("list"),
                                   QStringLiteral("64"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs per figure; the best is shown."),
                                  QStringLiteral("n"), QStringLiteral("5"));
    QCommandLineOption memoryRun(kMemoryRun, QStringLiteral("(internal) one reading: way, then book"),
                                 QStringLiteral("way"));
    memoryRun.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({sizes, runs, memoryRun});
    parser.process(app);
    if (parser.isSet(memoryRun))
        return MemoryRun(parser.value(memoryRun), parser.positionalArguments().value(0));

    const QTemporaryDir folder;
    for (const QString &size : parser.value(sizes).split(u',', Qt::SkipEmptyParts))
        MeasureBook(qMax(1, size.toInt()), qMax(1, parser.value(runs).toInt()), folder.path());
    return 0;
}
