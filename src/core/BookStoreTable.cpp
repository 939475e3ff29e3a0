#include "core/BookStoreTable.h"

#include "core/BookRecordJson.h"
#include "core/Log.h"

#include <QJsonDocument>

namespace {

// In the order BindRecord binds them and RecordFromRow reads them.
const char kColumns[] = "size, modified, chapter, chapter_title, line, removed_headings, removed_under_rule, "
                        "last_read, bookmarks, encoding, chapter_rule, script, position, changes, progress, "
                        "chapter_offset, chapter_length, line_offset, place_encoding";

template <typename Json>
QString JsonText(const Json &json)
{
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
}

QJsonValue JsonArrayIn(const QVariant &column)
{
    const QJsonDocument document = QJsonDocument::fromJson(column.toString().toUtf8());
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue();
}

template <typename Value>
Value ValueOrEmpty(const std::optional<Value> &list, const char *column)
{
    if (!list)
        qCWarning(lcCore) << "book store: ignoring unreadable" << column;
    return list.value_or(Value());
}

} // namespace

QString CreateBooksTableSql()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS books (name TEXT PRIMARY KEY NOT NULL, size INTEGER, "
                          "modified INTEGER, chapter INTEGER, chapter_title TEXT, line INTEGER, removed_headings TEXT, "
                          "removed_under_rule TEXT, last_read INTEGER, bookmarks TEXT, encoding TEXT, "
                          "chapter_rule TEXT, script TEXT, position INTEGER, changes TEXT, progress INTEGER, "
                          "chapter_offset INTEGER, chapter_length INTEGER, line_offset INTEGER, place_encoding TEXT) "
                          "WITHOUT ROWID");
}

QString RemoveRecordSql()
{
    return QStringLiteral("DELETE FROM books WHERE name = ?");
}

QString ColumnCountSql(const LaterColumn &column)
{
    return QStringLiteral("SELECT count(*) FROM pragma_table_info('%1') WHERE name = '%2'")
        .arg(QLatin1StringView(column.table), QLatin1StringView(column.name));
}

QString AddColumnSql(const LaterColumn &column)
{
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
        .arg(QLatin1StringView(column.table), QLatin1StringView(column.name), QLatin1StringView(column.type));
}

QString CreateRecentTableSql()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS recent (path TEXT PRIMARY KEY NOT NULL, read INTEGER NOT NULL) WITHOUT ROWID");
}

// A book read within the same millisecond as the one before still comes
// after it.
QString NoteRecentSql()
{
    return QStringLiteral("INSERT OR REPLACE INTO recent (path, read) "
                          "VALUES (?, max(?, (SELECT coalesce(max(read), 0) + 1 FROM recent)))");
}

QString TrimRecentSql(int count)
{
    return QStringLiteral("DELETE FROM recent WHERE path NOT IN (SELECT path FROM recent ORDER BY read DESC LIMIT %1)")
        .arg(count);
}

QString RecentBooksSql()
{
    return QStringLiteral("SELECT path FROM recent ORDER BY read DESC LIMIT ?");
}

QString FindRecordSql()
{
    return QStringLiteral("SELECT %1 FROM books WHERE name = ?").arg(QLatin1StringView(kColumns));
}

QString InsertRecordSql(QLatin1StringView conflict)
{
    return QStringLiteral(
               "INSERT OR %1 INTO books (name, %2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .arg(conflict, QLatin1StringView(kColumns));
}

void BindRecord(QSqlQuery &query, const QString &name, const BookRecord &record)
{
    const QVariant values[] = {name,
                               record.size,
                               record.modified,
                               record.chapter,
                               record.chapterTitle,
                               record.line,
                               JsonText(HeadingsToJson(record.removedHeadings)),
                               record.removedUnderRule,
                               record.lastRead,
                               JsonText(BookmarksToJson(record.bookmarks)),
                               record.encoding,
                               record.chapterRule,
                               record.script,
                               record.position,
                               JsonText(ChangesToJson(record.changes)),
                               record.progress,
                               record.filePlace.chapterOffset,
                               record.filePlace.chapterLength,
                               record.filePlace.lineOffset,
                               record.filePlace.encoding};
    for (int i = 0; i < int(std::size(values)); ++i)
        query.bindValue(i, values[i]);
}

BookRecord RecordFromRow(const QSqlQuery &query)
{
    BookRecord record;
    record.size = query.value(0).toLongLong();
    record.modified = query.value(1).toLongLong();
    record.chapter = query.value(2).toInt();
    record.chapterTitle = query.value(3).toString();
    record.line = query.value(4).toInt();
    record.removedHeadings = ValueOrEmpty(HeadingsFromJson(JsonArrayIn(query.value(5))), "removed headings");
    record.removedUnderRule = query.value(6).toString();
    record.lastRead = query.value(7).toLongLong();
    record.bookmarks = ValueOrEmpty(BookmarksFromJson(JsonArrayIn(query.value(8))), "bookmarks");
    record.encoding = query.value(9).toString();
    record.chapterRule = query.value(10).toString();
    record.script = query.value(11).toString();
    // A file from before the column, or a row written by a reader that
    // did not know it: no position.
    record.position = query.value(12).isNull() ? -1 : query.value(12).toLongLong();
    // Likewise: no change known, which any other computer's outweighs.
    if (!query.value(13).isNull())
        record.changes = ValueOrEmpty(RecordChangesFromJson(query.value(13).toString().toUtf8()), "changes");
    // Likewise, or a value no progress has: not known, until the place is
    // saved again.
    const qint64 progress = query.value(14).isNull() ? kProgressNotKnown : query.value(14).toLongLong();
    record.progress = IsProgress(progress) ? int(progress) : kProgressNotKnown;
    // Likewise: where the place lies in the file is not known.
    const auto offsetIn = [&query](int column) {
        return query.value(column).isNull() ? -1 : query.value(column).toLongLong();
    };
    record.filePlace = {offsetIn(15), offsetIn(16), offsetIn(17), query.value(18).toString()};
    return record;
}

QSqlError RolledBack(QSqlDatabase database, const QSqlQuery &query)
{
    QSqlError error = query.lastError();
    database.rollback();
    return error;
}
