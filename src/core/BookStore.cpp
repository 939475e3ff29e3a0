#include "core/BookStore.h"

#include "core/BookStoreConnection.h"
#include "core/BookStoreImport.h"
#include "core/BookStoreTable.h"
#include "core/Log.h"
#include "core/RecordMerge.h"
#include "core/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QThreadPool>

#include <mutex>

namespace {

const QString kInMemory = QStringLiteral(":memory:");

// Loading Qt's SQLite driver and starting SQLite take a few milliseconds, the
// first time in a process. Done in Qt's thread pool as soon as a store
// exists, they overlap the building of the window, and Open finds them done.
void WarmUpSqlite()
{
    static std::once_flag once;
    std::call_once(once, [] { QThreadPool::globalInstance()->start([] { BookStoreConnection warm(kInMemory); }); });
}

// Keeps the file with its -wal and -shm under names SQLite still reads
// together (books.db.bad, books.db.bad-wal, ...), replacing older ones.
void SetAsideDamagedStore(const QString &path)
{
    qCWarning(lcCore) << "book store: setting aside the damaged" << path << "as .bad and starting afresh";
    for (const QLatin1StringView suffix :
         {QLatin1StringView(""), QLatin1StringView("-wal"), QLatin1StringView("-shm")}) {
        const QString kept = path + QStringLiteral(".bad") + suffix;
        QFile::remove(kept);
        if (QFile::exists(path + suffix) && !QFile::rename(path + suffix, kept))
            qCWarning(lcCore) << "book store: cannot rename" << path + suffix << "to" << kept;
    }
}

// A file the store created and could not use (on a full disk) is not left
// behind; one that another reader has begun to fill meanwhile has its WAL
// beside it and stays.
void RemoveUnusedNewStore(const QString &path)
{
    if (QFileInfo(path).size() == 0 && !QFileInfo::exists(path + QStringLiteral("-wal")))
        QFile::remove(path);
}

void Warn(const char *what, const QString &name, const QSqlQuery &query)
{
    qCWarning(lcCore).noquote() << "book store: cannot" << what << name << "-" << query.lastError().text();
}

} // namespace

BookStore::BookStore()
{
    WarmUpSqlite();
}

BookStore::~BookStore() = default;

void BookStore::Open(const QString &path)
{
    connection_.reset();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // SQLite would write where root may, whatever the write bits say.
    if (const QString refusal = WriteRefusal(path); !refusal.isEmpty()) {
        qCWarning(lcCore) << "book store: not opening" << path << "-" << refusal;
        return KeepInMemory();
    }
    bool existed = QFileInfo::exists(path);
    connection_ = std::make_unique<BookStoreConnection>(path);
    if (connection_->Result() == BookStoreConnection::Outcome::Damaged) {
        connection_.reset();
        SetAsideDamagedStore(path);
        existed = QFileInfo::exists(path);
        connection_ = std::make_unique<BookStoreConnection>(path);
    }
    if (Ready()) {
        ImportJsonStore(connection_->Database(), QFileInfo(path).dir().filePath(QStringLiteral("books.json")));
        return;
    }
    connection_.reset();
    if (!existed)
        RemoveUnusedNewStore(path);
    KeepInMemory();
}

void BookStore::KeepInMemory()
{
    qCWarning(lcCore) << "book store: keeping the records in memory only, until the reader ends";
    connection_ = std::make_unique<BookStoreConnection>(kInMemory);
}

std::optional<BookRecord> BookStore::Find(const QString &name) const
{
    if (!Ready())
        return std::nullopt;
    QSqlQuery &finder = connection_->Finder();
    finder.bindValue(0, name);
    if (!finder.exec()) {
        Warn("read the record of", name, finder);
        return std::nullopt;
    }
    std::optional<BookRecord> record;
    if (finder.next())
        record = RecordFromRow(finder);
    // Ends the read, so that the next one sees what other readers wrote since.
    finder.finish();
    return record;
}

bool BookStore::Put(const QString &name, const BookRecord &record, bool placeMoved)
{
    if (!Ready())
        return false;
    const std::optional<BookRecord> stored = Find(name);
    if (stored == record)
        return false;
    if (device_.isEmpty())
        return Write(name, record);
    BookRecord marked = record;
    NoteUserChanges(stored ? &*stored : nullptr, marked, {QDateTime::currentMSecsSinceEpoch(), device_}, placeMoved);
    const bool written = Write(name, marked);
    if (written && changed_)
        changed_(name);
    return written;
}

bool BookStore::PutUnmarked(const QString &name, const BookRecord &record)
{
    return Ready() && Find(name) != record && Write(name, record);
}

void BookStore::MarkChangesAs(const QString &device, std::function<void(const QString &name)> changed)
{
    device_ = device;
    changed_ = std::move(changed);
}

bool BookStore::Write(const QString &name, const BookRecord &record)
{
    QSqlQuery &writer = connection_->Writer();
    BindRecord(writer, name, record);
    const bool written = writer.exec();
    if (!written)
        Warn("write the record of", name, writer);
    writer.finish();
    return written;
}

void BookStore::NoteRecentBook(const QString &path)
{
    if (!Ready())
        return;
    QSqlQuery query(connection_->Database());
    query.prepare(NoteRecentSql());
    query.addBindValue(path);
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    if (!query.exec() || !query.exec(TrimRecentSql(kRecentBooks)))
        Warn("note as read", path, query);
}

QStringList BookStore::RecentBooks() const
{
    QStringList paths;
    if (!Ready())
        return paths;
    QSqlQuery query(connection_->Database());
    query.setForwardOnly(true);
    query.prepare(RecentBooksSql());
    query.addBindValue(kRecentBooks);
    if (!query.exec())
        Warn("read the books read last", QString(), query);
    while (query.next())
        paths << query.value(0).toString();
    return paths;
}

qsizetype BookStore::Count() const
{
    if (!Ready())
        return 0;
    QSqlQuery &counter = connection_->Counter();
    const qsizetype count = counter.exec() && counter.next() ? counter.value(0).toLongLong() : 0;
    if (counter.lastError().isValid())
        Warn("count the records", QString(), counter);
    counter.finish();
    return count;
}

bool BookStore::Ready() const
{
    if (!connection_)
        connection_ = std::make_unique<BookStoreConnection>(kInMemory);
    return connection_->Result() == BookStoreConnection::Outcome::Ready;
}
