#include "sync/BookSync.h"

#include "core/BookFileName.h"
#include "core/BookKey.h"
#include "core/BookRecordJson.h"
#include "core/BookStore.h"
#include "core/RecordLimits.h"
#include "core/RecordMerge.h"
#include "core/SharedBook.h"
#include "sync/DavFailure.h"
#include "sync/DeviceList.h"
#include "sync/Log.h"
#include "sync/OffThread.h"

#include <QDateTime>
#include <QEventLoop>

#include <algorithm>
#include <tuple>

#include <utility>

namespace {

constexpr int kAfterChangeMs = 3000;
constexpr int kFirstRetryMs = 10000;
constexpr int kLongestRetryMs = 5 * 60 * 1000;
// Reads and merges of one file while other computers keep writing it.
constexpr int kAttempts = 3;

const QByteArray kFolder = QByteArrayLiteral("folivar/");
const QByteArray kBooks = QByteArrayLiteral("folivar/books/");
const QByteArray kDevices = QByteArrayLiteral("folivar/devices.json");

// The shared file of the book with the record key `name`: by the book's file
// name alone, as earlier versions named it, so that the record follows the
// book whatever folder holds it on each computer.
QByteArray BookPath(const QString &name)
{
    return kBooks + PathSegment(BookNameInKey(name) + QStringLiteral(".json"));
}

// MKCOL answers 405 where the folder is there already.
bool FolderThere(const DavAnswer &answer)
{
    return answer.Succeeded() || answer.status == 405;
}

// Off the window's thread: a shared file as a book, cut to what it may hold
// (the book's size is not known here: the positions are checked again
// against it when merged).
std::optional<SharedBook> SharedBookFrom(const QByteArray &json, const QString &key)
{
    const std::optional<SharedBook> book = SharedBookFromJson(json, key);
    return book ? std::optional<SharedBook>(WithinLimits(*book, -1)) : std::nullopt;
}

// In one order, so that the same rows make the same file whatever order the
// store or the server gave them in.
void SortRows(QList<ReadingTimeRow> &rows)
{
    std::sort(rows.begin(), rows.end(), [](const ReadingTimeRow &a, const ReadingTimeRow &b) {
        return std::tie(a.day, a.device) < std::tie(b.day, b.device);
    });
}

void TakePlace(BookRecord &to, const BookRecord &from)
{
    to.chapter = from.chapter;
    to.chapterTitle = from.chapterTitle;
    to.line = from.line;
    to.position = from.position;
    to.changes.place = from.changes.place;
}

} // namespace

BookSync::BookSync(BookStore &store, QObject *parent)
    : QObject(parent), store_(store), dav_(this), retryMs_(kFirstRetryMs)
{
    afterChange_.setSingleShot(true);
    afterChange_.setInterval(kAfterChangeMs);
    retry_.setSingleShot(true);
    connect(&afterChange_, &QTimer::timeout, this, &BookSync::SyncNow);
    connect(&retry_, &QTimer::timeout, this, &BookSync::SyncNow);
}

void BookSync::SetDevice(const QString &id, const QString &name)
{
    deviceId_ = id;
    deviceName_ = name;
}

void BookSync::SetAccount(const SyncAccount &account)
{
    account_ = account;
    dav_.SetAccount(account);
    lastWrites_.clear();
    toldLostWrite_ = false;
    prepared_ = false;
    failing_ = false;
    retryMs_ = kFirstRetryMs;
    retry_.stop();
    Q_EMIT accountChanged();
    SyncNow();
}

bool BookSync::IsOn() const
{
    const bool signedIn = account_.user.isEmpty() || !account_.password.isEmpty();
    return account_.enabled && !account_.address.trimmed().isEmpty() && signedIn;
}

void BookSync::SyncBook(const QString &name)
{
    if (!IsOn() || running_.contains(name)) {
        waiting_.insert(name);
        return;
    }
    waiting_.remove(name);
    running_.insert(name);
    Prepare(name);
}

void BookSync::NoteChanged(const QString &name)
{
    waiting_.insert(name);
    if (IsOn() && !retry_.isActive() && !afterChange_.isActive())
        afterChange_.start();
}

void BookSync::SyncNow()
{
    const QSet<QString> books = std::exchange(waiting_, {});
    for (const QString &name : books)
        SyncBook(name);
}

void BookSync::Finish(int ms)
{
    finishing_ = true;
    afterChange_.stop();
    retry_.stop();
    SyncNow();
    if (running_.isEmpty())
        return;
    QEventLoop loop;
    connect(this, &BookSync::idle, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    if (!running_.isEmpty())
        qCWarning(lcSync) << "the reader ends before" << running_.size() << "books were synced";
}

// The folders are made once per account and run; the device list is updated
// with them.
void BookSync::Prepare(const QString &name)
{
    if (prepared_)
        return Fetch(name, 0);
    dav_.MakeFolder(kFolder, [this, name](const DavAnswer &folder) {
        if (!FolderThere(folder))
            return Stop(name, DescribeFailure(folder));
        dav_.MakeFolder(kBooks, [this, name](const DavAnswer &books) {
            if (!FolderThere(books))
                return Stop(name, DescribeFailure(books));
            prepared_ = true;
            UpdateDevices(0);
            Fetch(name, 0);
        });
    });
}

void BookSync::UpdateDevices(int attempt)
{
    dav_.Get(kDevices, [this, attempt](const DavAnswer &read) {
        if (!read.Succeeded() && read.status != 404) {
            qCWarning(lcSync).noquote() << "cannot read the device list -" << DescribeFailure(read);
            return;
        }
        const QByteArray old = read.Succeeded() ? read.body : QByteArray();
        const auto update = [old, id = deviceId_, name = deviceName_] {
            return DeviceListWith(old, id, name, QDateTime::currentMSecsSinceEpoch());
        };
        RunOffThread(
            this, update, [this, attempt, etag = read.Succeeded() ? read.etag : QByteArray()](const QByteArray &list) {
                dav_.Put(kDevices, list, etag, [this, attempt](const DavAnswer &put) {
                    if (put.status == 412 && attempt + 1 < kAttempts)
                        return UpdateDevices(attempt + 1);
                    if (!put.Succeeded())
                        qCWarning(lcSync).noquote() << "cannot write the device list -" << DescribeFailure(put);
                });
            });
    });
}

void BookSync::Fetch(const QString &name, int attempt)
{
    dav_.Get(BookPath(name), [this, name, attempt](const DavAnswer &read) {
        CheckLastWrite(name, read);
        if (read.status == 404)
            return Merge(name, std::nullopt, QByteArray(), attempt);
        if (!read.Succeeded())
            return Stop(name, DescribeFailure(read));
        Read(name, read, attempt);
    });
}

void BookSync::Read(const QString &name, const DavAnswer &answer, int attempt)
{
    const auto read = [json = answer.body, name] { return SharedBookFrom(json, name); };
    RunOffThread(this, read, [this, name, attempt, etag = answer.etag](const std::optional<SharedBook> &remote) {
        if (!remote) {
            qCWarning(lcSync) << "the shared file of" << name << "cannot be read: this computer's record replaces it";
            Q_EMIT failed(QStringLiteral("同步服务器上《%1》的记录已损坏，已用本机的记录替换")
                              .arg(ShownBookName(BookNameInKey(name))));
        }
        Merge(name, remote, etag, attempt);
    });
}

// A file missing, or one with the ETag it had before this reader's write,
// is a write the server confirmed and did not keep.
void BookSync::CheckLastWrite(const QString &name, const DavAnswer &read)
{
    const WriteCheck check = lastWrites_.take(name);
    const bool missing = read.status == 404 && check.made;
    const bool unchanged = read.Succeeded() && !check.before.isEmpty() && read.etag == check.before;
    if (!missing && !unchanged)
        return;
    qCWarning(lcSync) << "the server confirmed the write of" << name << "but did not keep it";
    if (!std::exchange(toldLostWrite_, true))
        Q_EMIT failed(
            QStringLiteral("同步服务器说已存下《%1》的记录，却没有存下").arg(ShownBookName(BookNameInKey(name))));
}

SharedBook BookSync::Trusted(const QString &name, SharedBook remote, const BookRecord &local)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    RedateChanges(remote.record.changes,
                  [this, &name, now](const ChangeMark &mark) { return futureMarks_.Weighed(name, mark, now); });
    remote = WithinLimits(std::move(remote), local.size);
    if (!PlaceWithinLimits(remote.record, local.size)) {
        qCWarning(lcSync) << "refusing the shared place of" << name << "- it cannot be in the book";
        TakePlace(remote.record, local);
    }
    return remote;
}

SharedBook BookSync::Local(const QString &name, const BookRecord &record) const
{
    SharedBook book{record, store_.Highlights(name), {}};
    for (const ReadingTimeRow &row : store_.ReadingTime()) {
        if (row.book == name)
            book.readingTime.append(row);
    }
    SortRows(book.readingTime);
    return book;
}

// `etag` is the remote file's as read (empty: there is none).
void BookSync::Merge(const QString &name, const std::optional<SharedBook> &remote, const QByteArray &etag, int attempt)
{
    const std::optional<BookRecord> record = store_.Find(name);
    if (!record && !remote)
        return Done(name);
    const SharedBook local = Local(name, record.value_or(BookRecord{}));
    SharedBook merged = remote ? MergeSharedBooks(local, Trusted(name, *remote, local.record)) : local;
    SortRows(merged.readingTime);
    Keep(name, local, merged, record.has_value());
    const QByteArray json = SharedBookToJson(merged);
    if (remote && json == SharedBookToJson(*remote))
        return Done(name);
    Write(name, json, etag, attempt);
}

// Stores what the merge brought; `hadRecord`: the store had the record.
void BookSync::Keep(const QString &name, const SharedBook &local, const SharedBook &merged, bool hadRecord)
{
    if (!hadRecord || SyncedRecordToJson(merged.record) != SyncedRecordToJson(local.record)) {
        store_.PutUnmarked(name, merged.record);
        qCInfo(lcSync) << "merged another computer's changes to" << name;
        Q_EMIT recordMerged(name, local.record);
    }
    if (merged.highlights != local.highlights) {
        store_.PutHighlightsUnmarked(name, merged.highlights);
        Q_EMIT highlightsMerged(name);
    }
    bool newTime = false;
    for (const ReadingTimeRow &row : merged.readingTime) {
        if (!local.readingTime.contains(row)) {
            store_.PutReadingTime(row);
            newTime = true;
        }
    }
    if (newTime)
        Q_EMIT readingTimeMerged();
}

void BookSync::Write(const QString &name, const QByteArray &json, const QByteArray &etag, int attempt)
{
    dav_.Put(BookPath(name), json, etag, [this, name, etag, attempt](const DavAnswer &written) {
        if (written.status == 412 && attempt + 1 < kAttempts)
            return Fetch(name, attempt + 1);
        if (!written.Succeeded())
            return Stop(name, DescribeFailure(written));
        qCInfo(lcSync) << "wrote the shared record of" << name;
        lastWrites_.insert(name, {true, etag});
        Done(name);
    });
}

void BookSync::Done(const QString &name)
{
    running_.remove(name);
    qCInfo(lcSync) << "synced" << name;
    if (failing_)
        qCInfo(lcSync) << "syncing works again";
    failing_ = false;
    retryMs_ = kFirstRetryMs;
    if (waiting_.contains(name) && !afterChange_.isActive() && !finishing_)
        afterChange_.start();
    if (running_.isEmpty())
        Q_EMIT idle();
}

void BookSync::Stop(const QString &name, const QString &message)
{
    running_.remove(name);
    waiting_.insert(name);
    qCWarning(lcSync).noquote() << "cannot sync" << name << "-" << message;
    if (!failing_)
        Q_EMIT failed(message);
    failing_ = true;
    if (!retry_.isActive() && !finishing_) {
        retry_.start(retryMs_);
        retryMs_ = std::min(retryMs_ * 2, kLongestRetryMs);
    }
    if (running_.isEmpty())
        Q_EMIT idle();
}
