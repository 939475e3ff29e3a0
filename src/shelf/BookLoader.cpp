#include "shelf/BookLoader.h"

#include "core/BookFolder.h"
#include "core/BookReading.h"
#include "core/ChapterPreview.h"
#include "core/Log.h"
#include "shelf/Log.h"

#include <QDateTime>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

namespace {

// Read positions and lengths are signed 32-bit numbers.
constexpr qint64 kLargestBook = 0x7FFFFFFF;

int PercentRead(qint64 readUpTo, qint64 length)
{
    return int(std::floor(double(readUpTo) * 100.0 / double(length)));
}

// Decided once per book, from its first bytes unless the reader chose one;
// the reading then starts again at byte 0.
TextEncoding BookEncoding(QFile &file, const QString &path, std::optional<TextEncoding::Kind> chosen)
{
    const QByteArray sample = file.read(chosen ? 4 : kEncodingSampleSize);
    const TextEncoding encoding = chosen ? ChosenEncoding(*chosen, sample) : DetectEncoding(sample, file.atEnd());
    file.seek(0);
    qCInfo(lcShelf) << "reading" << LoggedPath(path) << "as" << encoding.Name()
                    << (encoding.markLength > 0 ? "after its byte-order mark" : "without a byte-order mark");
    return encoding;
}

// The book the file holds, before its text is read.
OpenBook BookBeingRead(const BookRequest &request, const QString &path, QFile &file)
{
    OpenBook book;
    book.folder = request.folder;
    book.fileName = request.fileName;
    book.fileSize = file.size();
    book.fileModified = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
    book.encoding = BookEncoding(file, path, request.choices.encoding);
    book.rule = request.choices.rule;
    return book;
}

// The chapter the request's record remembers, read from its own bytes; none
// when it cannot be shown as it is in the book (ChapterPreview.h).
std::optional<OpenBook> PreviewOf(const BookRequest &request, const QString &path)
{
    if (!request.previewOf || request.reindex)
        return std::nullopt;
    QFile file;
    QString failure;
    if (!OpenBookFile(file, path, failure))
        return std::nullopt;
    std::optional<OpenBook> preview = ReadChapterPreview(file, *request.previewOf);
    if (!preview) {
        qCInfo(lcShelf) << "no preview of" << LoggedPath(path) << "from its remembered bytes";
        return std::nullopt;
    }
    preview->folder = request.folder;
    preview->fileName = request.fileName;
    preview->rule = request.choices.rule;
    return preview;
}

} // namespace

BookRequest RecordedRequest(const QString &folder, const QString &fileName, const std::optional<BookRecord> &record)
{
    BookRequest request{folder, fileName, ChoicesOf(record), {}, {}, {}, false};
    if (record && record->removedUnderRule == request.choices.rule.Key())
        request.removedHeadings = record->removedHeadings;
    return request;
}

BookLoader::BookLoader(QObject *parent) : QObject(parent) {}

BookLoader::~BookLoader()
{
    Stop();
}

void BookLoader::Load(BookRequest request)
{
    if (stopped_)
        return;
    jobs_.removeIf([](const QFuture<void> &job) { return job.isFinished(); });
    const quint64 job = ++lastJob_;
    newest_ = job;
    pending_ = job;
    jobs_.append(QtConcurrent::run([this, job, request = std::move(request)] { Run(job, request); }));
}

void BookLoader::Cancel()
{
    newest_ = ++lastJob_;
    pending_ = 0;
}

void BookLoader::Stop()
{
    stopped_ = true;
    Cancel();
    for (QFuture<void> &job : jobs_)
        job.waitForFinished();
    jobs_.clear();
}

// On a thread of the pool. The loader outlives the job (it waits for its jobs
// before it goes), so the job may call back into it.
void BookLoader::Run(quint64 job, const BookRequest &request)
{
    const QString path = request.folder + request.fileName;
    if (std::optional<OpenBook> preview = PreviewOf(request, path))
        PostPreview(job, *preview);
    const ReadingBegun firstScreen = [this, job](QIODevice &file, const OpenBook &begun) {
        if (std::optional<OpenBook> preview = ReadFirstScreen(file, begun))
            PostPreview(job, *preview);
    };
    std::optional<OpenBook> book = MakeBook(
        request, [this](int percentage) { Q_EMIT progress(percentage); }, [this, job] { return Cancelled(job); }, {},
        request.firstScreen ? firstScreen : ReadingBegun());
    QMetaObject::invokeMethod(
        this, [this, job, path, book = std::move(book)]() mutable { Deliver(job, path, std::move(book)); },
        Qt::QueuedConnection);
}

void BookLoader::Deliver(quint64 job, const QString &path, std::optional<OpenBook> book)
{
    if (job != pending_)
        return;
    pending_ = 0;
    if (!book) {
        Q_EMIT loadFailed(path);
        return;
    }
    qCInfo(lcShelf) << "read" << LoggedPath(path) << "to its end";
    Q_EMIT bookLoaded(*book);
    // Only the book handed over gets its 100, and only once it is on screen.
    Q_EMIT progress(100);
}

// Queued before the job's book, so it reaches the window's thread first.
void BookLoader::PostPreview(quint64 job, const OpenBook &preview)
{
    QMetaObject::invokeMethod(
        this, [this, job, preview] { DeliverPreview(job, preview); }, Qt::QueuedConnection);
}

void BookLoader::DeliverPreview(quint64 job, const OpenBook &preview)
{
    if (job == pending_)
        Q_EMIT previewLoaded(preview);
}

// The text goes into the book at once, once it is whole: a load that is
// stopped leaves nothing half read behind. The percentage of every piece but
// the last is posted as its text is in; the last one's, 100, follows the book
// to the window's thread.
std::optional<OpenBook> LoadBookText(const BookRequest &request, const std::function<void(int)> &read,
                                     const std::function<bool()> &cancelled, const ReadingSplit &split,
                                     const ReadingBegun &begun)
{
    const QString path = request.folder + request.fileName;
    QFile file;
    QString failure;
    if (!OpenBookFile(file, path, failure)) {
        qCInfo(lcShelf) << "cannot open" << LoggedPath(path) << failure;
        return std::nullopt;
    }
    OpenBook book = BookBeingRead(request, path, file);
    if (begun)
        begun(file, book);
    // The length is taken once. A file that another program keeps appending
    // to would otherwise never be read to its end: the book is what the file
    // held when the load began.
    const qint64 length = qMin(book.fileSize, kLargestBook);
    qint64 posted = 0;
    const auto postUpTo = [&](qint64 piecesDone) {
        for (; posted + 1 < piecesDone; ++posted)
            read(PercentRead(qMin((posted + 1) * kBookPieceSize, length), length));
    };
    std::optional<QString> text =
        ReadBookText(file, length, book.encoding, cancelled, postUpTo, split, &book.textBytes);
    if (!text) {
        qCInfo(lcShelf) << "stopped reading" << LoggedPath(path);
        return std::nullopt;
    }
    book.BookText = std::move(*text);
    return book;
}

std::optional<OpenBook> MakeBook(const BookRequest &request, const std::function<void(int)> &read,
                                 const std::function<bool()> &cancelled, const ReadingSplit &split,
                                 const ReadingBegun &begun)
{
    std::optional<OpenBook> book =
        request.reindex ? request.reindex : LoadBookText(request, read, cancelled, split, begun);
    if (!book || cancelled())
        return std::nullopt;
    book->rule = request.choices.rule;
    if (!book->BuildChapterIndex(split.threads, cancelled))
        return std::nullopt;
    book->RemoveHeadings(request.removedHeadings);
    return book;
}
