#include "core/BookStoreWriter.h"

#include "core/BookStore.h"
#include "core/BookStoreConnection.h"
#include "core/BookStoreHighlights.h"
#include "core/BookStoreReadingTime.h"
#include "core/BookStoreRules.h"
#include "core/BookStoreTable.h"
#include "core/Log.h"

#include <algorithm>

namespace {

constexpr int kRetryMs = 5000;

const QString kRecordKey = QStringLiteral("r");
const QString kRecentKey = QStringLiteral("p");
const QString kRemovalKey = QStringLiteral("d");
const QString kRulesKey = QStringLiteral("c");
const QString kOriginalKey = QStringLiteral("o");
const QString kTimeKey = QStringLiteral("t");
const QString kHighlightsKey = QStringLiteral("h");

QSqlError WriteRecord(BookStoreConnection &connection, const QString &name, const BookRecord &record)
{
    QSqlQuery &writer = connection.Writer();
    BindRecord(writer, name, record);
    const bool written = writer.exec();
    QSqlError error = written ? QSqlError() : writer.lastError();
    writer.finish();
    return error;
}

QSqlError DeleteRecord(BookStoreConnection &connection, const QString &name)
{
    QSqlQuery query(connection.Database());
    query.prepare(RemoveRecordSql());
    query.addBindValue(name);
    return query.exec() ? QSqlError() : query.lastError();
}

QSqlError NoteRecent(BookStoreConnection &connection, const QString &path, qint64 time)
{
    QSqlQuery query(connection.Database());
    query.prepare(NoteRecentSql());
    query.addBindValue(path);
    query.addBindValue(time);
    if (!query.exec() || !query.exec(TrimRecentSql(BookStore::kRecentBooks)))
        return query.lastError();
    return {};
}

} // namespace

BookStoreWriter::BookStoreWriter(const QString &path, QObject *parent) : QObject(parent), path_(path)
{
    // One thread that never ends: the connection belongs to it.
    pool_.setMaxThreadCount(1);
    pool_.setExpiryTimeout(-1);
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &BookStoreWriter::RetryFailed);
}

BookStoreWriter::~BookStoreWriter()
{
    if (failing_)
        qCWarning(lcCore) << "book store:" << writes_.size() << "writes have not landed; trying them once more";
    RetryFailed();
    pool_.start([this] { connection_.reset(); });
    pool_.waitForDone();
}

void BookStoreWriter::PutRecord(const QString &name, const BookRecord &record)
{
    records_.insert(name, record);
    Queue(kRecordKey + name, WorkFor(kRecordKey + name));
}

void BookStoreWriter::RemoveRecord(const QString &name)
{
    records_.remove(name);
    removed_.insert(name);
    Queue(kRemovalKey + name, WorkFor(kRemovalKey + name));
}

void BookStoreWriter::NoteRecentBook(const QString &path, qint64 time)
{
    recent_.removeIf([&path](const auto &noted) { return noted.first == path; });
    recent_.prepend({path, time});
    Queue(kRecentKey + path, WorkFor(kRecentKey + path));
}

void BookStoreWriter::PutCleanupRules(const QList<CleanupRule> &rules)
{
    rules_ = rules;
    Queue(kRulesKey, WorkFor(kRulesKey));
}

void BookStoreWriter::PutShowsOriginal(const QString &key, bool on)
{
    originals_.insert(key, on);
    Queue(kOriginalKey + key, WorkFor(kOriginalKey + key));
}

void BookStoreWriter::PutReadingTime(const ReadingTimeRow &row)
{
    const QString name = row.book + QChar(0) + row.day.toString(Qt::ISODate) + QChar(0) + row.device;
    times_.insert(name, row);
    Queue(kTimeKey + name, WorkFor(kTimeKey + name));
}

void BookStoreWriter::PutHighlights(const QString &key, const QList<Highlight> &highlights)
{
    highlights_.insert(key, highlights);
    Queue(kHighlightsKey + key, WorkFor(kHighlightsKey + key));
}

std::optional<QList<Highlight>> BookStoreWriter::PendingHighlights(const QString &key) const
{
    const auto found = highlights_.constFind(key);
    return found == highlights_.constEnd() ? std::nullopt : std::optional(*found);
}

std::optional<bool> BookStoreWriter::PendingShowsOriginal(const QString &key) const
{
    const auto found = originals_.constFind(key);
    return found == originals_.constEnd() ? std::nullopt : std::optional<bool>(*found);
}

std::optional<BookRecord> BookStoreWriter::PendingRecord(const QString &name) const
{
    const auto found = records_.constFind(name);
    return found == records_.constEnd() ? std::nullopt : std::optional<BookRecord>(*found);
}

QStringList BookStoreWriter::PendingRecentBooks() const
{
    QStringList paths;
    for (const auto &[path, time] : recent_)
        paths << path;
    return paths;
}

// The work writes what is pending under the key when it is queued.
BookStoreWriter::Work BookStoreWriter::WorkFor(const QString &key) const
{
    const QString name = key.mid(1);
    if (key.startsWith(kRecordKey))
        return [name, record = records_.value(name)](BookStoreConnection &c) { return WriteRecord(c, name, record); };
    if (key.startsWith(kRemovalKey))
        return [name](BookStoreConnection &c) { return DeleteRecord(c, name); };
    if (key == kRulesKey)
        return [rules = *rules_](BookStoreConnection &c) { return WriteCleanupRules(c.Database(), rules); };
    if (key.startsWith(kOriginalKey)) {
        return [name, on = originals_.value(name)](BookStoreConnection &c) {
            return WriteShowsOriginal(c.Database(), name, on);
        };
    }
    if (key.startsWith(kTimeKey))
        return [row = times_.value(name)](BookStoreConnection &c) { return WriteReadingTime(c.Database(), row); };
    if (key.startsWith(kHighlightsKey)) {
        return [name, highlights = highlights_.value(name)](BookStoreConnection &c) {
            return WriteHighlights(c.Database(), name, highlights);
        };
    }
    const auto noted =
        std::find_if(recent_.cbegin(), recent_.cend(), [&name](const auto &n) { return n.first == name; });
    return [name, time = noted->second](BookStoreConnection &c) { return NoteRecent(c, name, time); };
}

void BookStoreWriter::Queue(const QString &key, Work work)
{
    const quint64 number = ++lastNumber_;
    writes_.insert(key, {number, false});
    pool_.start([this, key, number, work = std::move(work)] {
        BookStoreConnection *connection = Connection();
        const QSqlError error = connection
            ? work(*connection)
            : QSqlError(QString(), QStringLiteral("the file cannot be opened"), QSqlError::ConnectionError);
        QMetaObject::invokeMethod(
            this, [this, key, number, error] { Landed(key, number, error); }, Qt::QueuedConnection);
    });
}

// A write that a newer one of the same key follows leaves the key to it.
void BookStoreWriter::Landed(const QString &key, quint64 number, const QSqlError &error)
{
    const auto write = writes_.find(key);
    if (write == writes_.end() || write->number != number)
        return;
    if (error.isValid()) {
        if (!failing_)
            qCWarning(lcCore).noquote() << "book store: cannot write" << key.mid(1) << "-" << error.text()
                                        << "- trying again every" << kRetryMs / 1000 << "s";
        failing_ = true;
        write->failed = true;
        if (!retry_.isActive())
            retry_.start();
        return Q_EMIT writeFailed(error);
    }
    writes_.erase(write);
    DropPending(key);
    if (!writes_.isEmpty())
        return;
    if (failing_)
        qCInfo(lcCore) << "book store: every write has landed again";
    failing_ = false;
    Q_EMIT allWritten();
}

void BookStoreWriter::DropPending(const QString &key)
{
    if (key.startsWith(kRecordKey))
        records_.remove(key.mid(1));
    else if (key.startsWith(kRemovalKey))
        removed_.remove(key.mid(1));
    else if (key == kRulesKey)
        rules_.reset();
    else if (key.startsWith(kOriginalKey))
        originals_.remove(key.mid(1));
    else if (key.startsWith(kTimeKey))
        times_.remove(key.mid(1));
    else if (key.startsWith(kHighlightsKey))
        highlights_.remove(key.mid(1));
    else
        recent_.removeIf([path = key.mid(1)](const auto &noted) { return noted.first == path; });
}

// In the order they were given.
void BookStoreWriter::RetryFailed()
{
    QList<std::pair<quint64, QString>> failed;
    for (auto write = writes_.cbegin(); write != writes_.cend(); ++write) {
        if (write->failed)
            failed.append({write->number, write.key()});
    }
    std::sort(failed.begin(), failed.end());
    for (const auto &[number, key] : failed)
        Queue(key, WorkFor(key));
}

BookStoreConnection *BookStoreWriter::Connection()
{
    if (connection_ && connection_->Result() != BookStoreConnection::Outcome::Ready)
        connection_.reset();
    if (!connection_)
        connection_ = std::make_unique<BookStoreConnection>(path_);
    return connection_->Result() == BookStoreConnection::Outcome::Ready ? connection_.get() : nullptr;
}
