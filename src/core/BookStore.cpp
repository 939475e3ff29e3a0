#include "core/BookStore.h"

#include "core/BookFileFacts.h"
#include "core/BookKey.h"
#include "core/BookStoreConnection.h"
#include "core/BookStoreHighlights.h"
#include "core/BookStoreImport.h"
#include "core/BookStoreReadingTime.h"
#include "core/BookStoreRules.h"
#include "core/BookStoreTable.h"
#include "core/BookStoreWriter.h"
#include "core/Log.h"
#include "core/RecordLimits.h"
#include "core/RecordMerge.h"
#include "core/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QThreadPool>

#include <functional>
#include <mutex>

namespace {

const QString kInMemory = QStringLiteral(":memory:");
// Damaged stores set aside: every one is kept, up to this many.
constexpr int kDamagedKept = 5;

// SQLite's primary result codes that the user is told apart.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteNotADatabase = 26;

// Loading Qt's SQLite driver and starting SQLite take a few milliseconds, the
// first time in a process. Done in Qt's thread pool as soon as a store
// exists, they overlap the building of the window, and Open finds them done.
void WarmUpSqlite()
{
    static std::once_flag once;
    std::call_once(once, [] { QThreadPool::globalInstance()->start([] { BookStoreConnection warm(kInMemory); }); });
}

// The first of <path>.bad, <path>.bad.2 ... not taken; when all are, the one
// set aside longest ago.
QString SetAsideName(const QString &path)
{
    QString oldest;
    for (int number = 1; number <= kDamagedKept; ++number) {
        QString name = path + QStringLiteral(".bad") + (number == 1 ? QString() : u'.' + QString::number(number));
        if (!QFileInfo::exists(name))
            return name;
        if (oldest.isEmpty() || QFileInfo(name).lastModified() < QFileInfo(oldest).lastModified())
            oldest = name;
    }
    return oldest;
}

// Keeps the file with its -wal and -shm under names SQLite still reads
// together (books.db.bad, books.db.bad-wal, ...); returns the file's new name.
QString SetAsideDamagedStore(const QString &path)
{
    QString keptAs = SetAsideName(path);
    qCWarning(lcCore) << "book store: setting aside the damaged" << path << "as" << keptAs << "and starting afresh";
    for (const QLatin1StringView suffix :
         {QLatin1StringView(""), QLatin1StringView("-wal"), QLatin1StringView("-shm")}) {
        const QString kept = keptAs + suffix;
        QFile::remove(kept);
        if (QFile::exists(path + suffix) && !QFile::rename(path + suffix, kept))
            qCWarning(lcCore) << "book store: cannot rename" << path + suffix << "to" << kept;
    }
    return keptAs;
}

// Why a write failed, in a few words for the user.
QString WriteFailureText(const QSqlError &error)
{
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral("books.db 正被另一个程序占用，稍后会再试");
    case kSqliteReadOnly:
        return QStringLiteral("books.db 是只读的");
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return QStringLiteral("books.db 已损坏");
    case kSqliteFull:
        return QStringLiteral("磁盘已满");
    default:
        return QStringLiteral("books.db 写不进去（%1）").arg(error.text());
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

BookStore::BookStore(QObject *parent) : QObject(parent)
{
    WarmUpSqlite();
}

BookStore::~BookStore() = default;

void BookStore::Open(const QString &path)
{
    writer_.reset();
    connection_.reset();
    toldWriteFailure_ = false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    // SQLite would write where root may, whatever the write bits say.
    if (const QString refusal = WriteRefusal(path); !refusal.isEmpty()) {
        qCWarning(lcCore) << "book store: not opening" << path << "-" << refusal;
        return KeepInMemory(QStringLiteral("books.db 或它所在的文件夹是只读的"));
    }
    bool existed = QFileInfo::exists(path);
    connection_ = std::make_unique<BookStoreConnection>(path);
    if (connection_->Result() == BookStoreConnection::Outcome::Damaged) {
        connection_.reset();
        const QString keptAs = SetAsideDamagedStore(path);
        Tell(QStringLiteral("books.db 已损坏：已另存为 %1，书的记录从空白开始").arg(QFileInfo(keptAs).fileName()));
        existed = QFileInfo::exists(path);
        connection_ = std::make_unique<BookStoreConnection>(path);
    }
    if (Ready()) {
        ImportJsonStore(connection_->Database(), QFileInfo(path).dir().filePath(QStringLiteral("books.json")));
        writer_ = std::make_unique<BookStoreWriter>(path);
        connect(writer_.get(), &BookStoreWriter::writeFailed, this, &BookStore::OnWriteFailed);
        connect(writer_.get(), &BookStoreWriter::allWritten, this, [this] { toldWriteFailure_ = false; });
        return;
    }
    const bool newer = connection_->Result() == BookStoreConnection::Outcome::Newer;
    connection_.reset();
    if (!existed)
        RemoveUnusedNewStore(path);
    KeepInMemory(newer ? QStringLiteral("books.db 来自更新版本的 Folivar") : QStringLiteral("books.db 打不开"));
}

void BookStore::KeepInMemory(const QString &why)
{
    qCWarning(lcCore) << "book store: keeping the records in memory only, until the reader ends";
    connection_ = std::make_unique<BookStoreConnection>(kInMemory);
    Tell(QStringLiteral("无法保存阅读位置：%1，本次的改动退出后不会保留").arg(why));
}

void BookStore::OnWriteFailed(const QSqlError &error)
{
    if (toldWriteFailure_)
        return;
    toldWriteFailure_ = true;
    Tell(QStringLiteral("无法保存阅读位置：%1").arg(WriteFailureText(error)));
}

void BookStore::Tell(const QString &message)
{
    QMetaObject::invokeMethod(
        this, [this, message] { Q_EMIT problem(message); }, Qt::QueuedConnection);
}

std::optional<BookRecord> BookStore::Find(const QString &name)
{
    if (std::optional<BookRecord> record = KeptRecord(name))
        return record;
    return TakeOverNamedRecord(name);
}

std::optional<BookRecord> BookStore::KeptRecord(const QString &name) const
{
    if (writer_) {
        if (std::optional<BookRecord> pending = writer_->PendingRecord(name))
            return pending;
        if (writer_->IsBeingRemoved(name))
            return std::nullopt;
    }
    return StoredRecord(name);
}

std::optional<BookRecord> BookStore::TakeOverNamedRecord(const QString &key)
{
    const QString name = BookNameInKey(key);
    if (name == key || namedRecordsFolder_.isEmpty() || BookKey(namedRecordsFolder_, name) != key)
        return std::nullopt;
    std::optional<BookRecord> record = KeptRecord(name);
    if (!record || (record->size >= 0 && record->size != FactsOf(key).size))
        return std::nullopt;
    qCInfo(lcCore) << "book store: the record of" << LoggedPath(name) << "moves to" << LoggedPath(key);
    if (Write(key, *record))
        Remove(name);
    return record;
}

void BookStore::Remove(const QString &name)
{
    if (writer_)
        return writer_->RemoveRecord(name);
    QSqlQuery query(connection_->Database());
    query.prepare(RemoveRecordSql());
    query.addBindValue(name);
    if (!query.exec())
        Warn("remove the record of", name, query);
}

std::optional<BookRecord> BookStore::StoredRecord(const QString &name) const
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

bool BookStore::Put(const QString &name, const BookRecord &record)
{
    return Put(name, record, QDateTime::currentMSecsSinceEpoch());
}

bool BookStore::Put(const QString &name, const BookRecord &given, std::optional<qint64> placeMovedAt)
{
    if (!Ready())
        return false;
    const BookRecord record = WithinLimits(given, -1);
    const std::optional<BookRecord> stored = Find(name);
    if (stored == record)
        return false;
    if (device_.isEmpty())
        return Write(name, record);
    BookRecord marked = record;
    NoteUserChanges(stored ? &*stored : nullptr, marked, {QDateTime::currentMSecsSinceEpoch(), device_}, placeMovedAt);
    const bool written = Write(name, marked);
    if (written && changed_)
        changed_(name);
    return written;
}

bool BookStore::PutUnmarked(const QString &name, const BookRecord &given)
{
    const BookRecord record = WithinLimits(given, -1);
    return Ready() && Find(name) != record && Write(name, record);
}

void BookStore::MarkChangesAs(const QString &device, std::function<void(const QString &name)> changed)
{
    device_ = device;
    changed_ = std::move(changed);
}

bool BookStore::Write(const QString &name, const BookRecord &record)
{
    if (writer_) {
        writer_->PutRecord(name, record);
        return true;
    }
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
    if (writer_)
        return writer_->NoteRecentBook(path, QDateTime::currentMSecsSinceEpoch());
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
    if (!writer_)
        return paths;
    QStringList newest = writer_->PendingRecentBooks();
    for (const QString &path : std::as_const(paths)) {
        if (!newest.contains(path))
            newest << path;
    }
    return newest.mid(0, kRecentBooks);
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
    if (!writer_)
        return count;
    const QStringList pending = writer_->PendingNames();
    const QStringList removed = writer_->RemovedNames();
    const auto stored = [this](const QString &name) { return StoredRecord(name).has_value(); };
    return count + std::count_if(pending.cbegin(), pending.cend(), std::not_fn(stored))
        - std::count_if(removed.cbegin(), removed.cend(), stored);
}

QList<CleanupRule> BookStore::CleanupRules() const
{
    if (writer_ && writer_->PendingCleanupRules())
        return *writer_->PendingCleanupRules();
    return Ready() ? ReadCleanupRules(connection_->Database()) : QList<CleanupRule>();
}

void BookStore::PutCleanupRules(const QList<CleanupRule> &rules)
{
    if (writer_)
        return writer_->PutCleanupRules(rules);
    if (!Ready())
        return;
    if (const QSqlError error = WriteCleanupRules(connection_->Database(), rules); error.isValid())
        qCWarning(lcCore).noquote() << "book store: cannot write the cleanup rules -" << error.text();
}

bool BookStore::ShowsOriginal(const QString &key) const
{
    if (writer_) {
        if (const std::optional<bool> pending = writer_->PendingShowsOriginal(key))
            return *pending;
    }
    return Ready() && ReadShowsOriginal(connection_->Database(), key);
}

void BookStore::SetShowsOriginal(const QString &key, bool on)
{
    if (writer_)
        return writer_->PutShowsOriginal(key, on);
    if (!Ready())
        return;
    if (const QSqlError error = WriteShowsOriginal(connection_->Database(), key, on); error.isValid())
        qCWarning(lcCore).noquote() << "book store: cannot note how" << LoggedPath(key) << "is shown -" << error.text();
}

QList<ReadingTimeRow> BookStore::ReadingTime() const
{
    const QList<ReadingTimeRow> stored = Ready() ? ReadReadingTime(connection_->Database()) : QList<ReadingTimeRow>();
    return writer_ ? MergedReadingTime(stored, writer_->PendingReadingTime()) : stored;
}

void BookStore::PutReadingTime(const ReadingTimeRow &row)
{
    if (writer_)
        return writer_->PutReadingTime(row);
    if (!Ready())
        return;
    if (const QSqlError error = WriteReadingTime(connection_->Database(), row); error.isValid())
        qCWarning(lcCore).noquote() << "book store: cannot write the time read -" << error.text();
}

QList<Highlight> BookStore::Highlights(const QString &key) const
{
    if (writer_) {
        if (std::optional<QList<Highlight>> pending = writer_->PendingHighlights(key))
            return *std::move(pending);
    }
    return Ready() ? ReadHighlights(connection_->Database(), key) : QList<Highlight>();
}

void BookStore::PutHighlights(const QString &key, const QList<Highlight> &highlights)
{
    PutHighlightsUnmarked(key, highlights);
    if (changed_)
        changed_(key);
}

void BookStore::PutHighlightsUnmarked(const QString &key, const QList<Highlight> &highlights)
{
    if (writer_)
        return writer_->PutHighlights(key, highlights);
    if (!Ready())
        return;
    if (const QSqlError error = WriteHighlights(connection_->Database(), key, highlights); error.isValid())
        qCWarning(lcCore).noquote() << "book store: cannot write the highlights of" << LoggedPath(key) << "-"
                                    << error.text();
}

bool BookStore::Ready() const
{
    if (!connection_)
        connection_ = std::make_unique<BookStoreConnection>(kInMemory);
    return connection_->Result() == BookStoreConnection::Outcome::Ready;
}
