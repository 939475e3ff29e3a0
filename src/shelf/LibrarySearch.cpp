#include "shelf/LibrarySearch.h"

#include "core/BookKey.h"
#include "core/BookStore.h"
#include "shelf/BookLoader.h"

#include <QtConcurrent/QtConcurrentMap>

LibrarySearch::LibrarySearch(BookStore &store, QObject *parent) : QObject(parent), store_(store) {}

LibrarySearch::~LibrarySearch()
{
    Drop();
    for (QFuture<SearchedBook> &ending : ending_)
        ending.waitForFinished();
}

// The records are read here, on the store's thread; the pool's threads get
// plain requests.
void LibrarySearch::Start(const QString &term, const QList<LibraryBook> &books)
{
    Drop();
    results_.Clear();
    searched_ = 0;
    total_ = 0;
    wasStopped_ = false;
    const QStringList forms = SearchForms(term);
    if (forms.isEmpty()) {
        Q_EMIT progressed();
        return;
    }
    QList<BookRequest> requests;
    for (const LibraryBook &book : books)
        requests.append(RecordedRequest(book.folder, book.fileName, store_.Find(BookKey(book.folder, book.fileName))));
    total_ = int(requests.size());
    stopped_ = std::make_shared<std::atomic<bool>>(false);
    watcher_ = new QFutureWatcher<SearchedBook>(this);
    connect(watcher_, &QFutureWatcherBase::resultReadyAt, this, &LibrarySearch::OnBookSearched);
    connect(watcher_, &QFutureWatcherBase::finished, this, &LibrarySearch::OnFinished);
    watcher_->setFuture(QtConcurrent::mapped(requests, [forms, stopped = stopped_](const BookRequest &request) {
        return SearchBook(request, forms, [stopped] { return stopped->load(); });
    }));
    Q_EMIT progressed();
}

void LibrarySearch::Stop()
{
    if (!watcher_)
        return;
    Drop();
    wasStopped_ = true;
    Q_EMIT progressed();
}

// The running search's results are no longer wanted: its watcher goes at
// once, and its future is kept until it has ended.
void LibrarySearch::Drop()
{
    ending_.removeIf([](const QFuture<SearchedBook> &ending) { return ending.isFinished(); });
    if (!watcher_)
        return;
    stopped_->store(true);
    QFuture<SearchedBook> future = watcher_->future();
    future.cancel();
    ending_.append(future);
    delete watcher_;
    watcher_ = nullptr;
}

void LibrarySearch::OnBookSearched(int index)
{
    results_.AddBook(watcher_->resultAt(index));
    ++searched_;
    Q_EMIT progressed();
}

void LibrarySearch::OnFinished()
{
    delete watcher_;
    watcher_ = nullptr;
    Q_EMIT progressed();
    Q_EMIT finished();
}

QString LibrarySearch::Summary() const
{
    if (total_ == 0)
        return {};
    QString summary = QStringLiteral("已查 %1/%2 本，找到 %3 处").arg(searched_).arg(total_).arg(results_.Found());
    if (results_.IsCut())
        summary += QStringLiteral("，只列出前 %1 处").arg(kListedLibraryHits);
    if (wasStopped_)
        summary += QStringLiteral("（已停止）");
    return summary;
}

SearchedBook SearchBook(const BookRequest &request, const QStringList &forms, const std::function<bool()> &cancelled)
{
    SearchedBook searched{request.folder, request.fileName, false, {}};
    // The pool's other threads search the other books.
    ReadingSplit split;
    split.threads = 1;
    const std::optional<OpenBook> book = MakeBook(
        request, [](int) {}, cancelled, split);
    if (!book)
        return searched;
    searched.readable = true;
    searched.hits = FindInWholeBook(*book, forms);
    return searched;
}
