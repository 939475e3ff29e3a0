#pragma once
// The one loader that opens books off the window's thread. Each request is a
// job on Qt's thread pool: it reads the file, recognises its encoding,
// decodes it, cuts it into chapters and hands the finished book to the
// window's thread in one step. A newer request stops the older job at its
// next piece; only the newest job's book is ever handed over.
#include "core/BookChoices.h"
#include "core/BookReading.h"
#include "core/OpenBook.h"

#include <QFuture>
#include <QList>
#include <QObject>

#include <atomic>
#include <functional>
#include <optional>

// What a job makes into the book on screen.
struct BookRequest {
    // The folder (ending in a separator) and the book's kept file name in it
    // (core/BookFileName.h).
    QString folder;
    QString fileName;
    BookChoices choices;
    // Headings the reader removed under choices.rule, removed again once the
    // book is cut into chapters.
    QList<ChapterHeading> removedHeadings;
    // A book already read, to be cut by another rule: its file is not read
    // again and no progress is posted.
    std::optional<OpenBook> reindex;
    // The record whose place the book opens at: its chapter is read first
    // from its own bytes and handed over as a preview (ChapterPreview.h),
    // while the whole book is read as before. None: nothing comes before the
    // book.
    std::optional<BookRecord> previewOf;
    // A book never opened: its first screen (ChapterPreview.h) is handed
    // over as a preview once the file's encoding is known.
    bool firstScreen = false;
};

// The request for the book `fileName` of `folder` as its record (if any) has
// it read: the choices it holds, and the headings removed under its rule.
BookRequest RecordedRequest(const QString &folder, const QString &fileName, const std::optional<BookRecord> &record);

class BookLoader : public QObject {
    Q_OBJECT
public:
    explicit BookLoader(QObject *parent = nullptr);
    // Stops every job and waits for it.
    ~BookLoader() override;

    // Starts a job for the request; the job running stops at its next piece.
    void Load(BookRequest request);
    // The running job stops at its next piece; nothing is handed over.
    void Cancel();
    // Cancels and waits until no job runs; later requests are refused. For
    // the window closing, which must not wait for a book.
    void Stop();
    // Whether a job will still hand over a book or report its failure.
    bool IsLoading() const { return pending_ != 0; }

Q_SIGNALS:
    // The percentage of the file a job has read (LoadProgress), rounded down,
    // emitted from the job's thread after each 100000-byte piece but the
    // last; 100 follows bookLoaded, on this object's thread, once that has
    // been handled.
    void progress(int percentage);
    // The newest job's preview: the chapter its request's record remembers,
    // or the first screen it asked for, as a book of that one chapter
    // (ChapterPreview.h) with the request's folder, file name and rule, on
    // the window's thread. Comes, if at all,
    // before that job's bookLoaded or loadFailed and never after them.
    void previewLoaded(const OpenBook &preview);
    // The newest job's book, read, decoded and indexed, on the window's
    // thread.
    void bookLoaded(const OpenBook &book);
    // The newest job could not read its file.
    void loadFailed(const QString &path);

private:
    void Run(quint64 job, const BookRequest &request);
    void Deliver(quint64 job, const QString &path, std::optional<OpenBook> book);
    void PostPreview(quint64 job, const OpenBook &preview);
    void DeliverPreview(quint64 job, const OpenBook &preview);
    bool Cancelled(quint64 job) const { return newest_.load() != job; }

    // Jobs compare their number with the newest one to know they must stop.
    std::atomic<quint64> newest_ = 0;
    quint64 lastJob_ = 0;
    quint64 pending_ = 0;
    bool stopped_ = false;
    QList<QFuture<void>> jobs_;
};

// Called once a job's file is open and its encoding known, before its text
// is read; the file stands at its start and must be left there.
using ReadingBegun = std::function<void(QIODevice &file, const OpenBook &book)>;

// Reads the whole file of the request (what it held when opened; less if it
// shrank meanwhile) and decodes it in the encoding chosen, else the one
// recognised from its first bytes, calling `begun` (when given) before the
// text is read and `read` with the percentage read after every 100000-byte
// piece but the last. nullopt when the file cannot be opened or `cancelled`
// turned true on the way. The book's chapters are not cut yet.
std::optional<OpenBook> LoadBookText(const BookRequest &request, const std::function<void(int percentage)> &read,
                                     const std::function<bool()> &cancelled, const ReadingSplit &split = {},
                                     const ReadingBegun &begun = {});

// The request's book as a job makes it: read by LoadBookText (unless it is
// one to cut anew), cut into chapters by its rule on split.threads threads,
// the removed headings removed. nullopt when it cannot be read or
// `cancelled` turned true on the way.
std::optional<OpenBook> MakeBook(const BookRequest &request, const std::function<void(int percentage)> &read,
                                 const std::function<bool()> &cancelled, const ReadingSplit &split = {},
                                 const ReadingBegun &begun = {});
