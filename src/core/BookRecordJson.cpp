#include "core/BookRecordJson.h"

#include "core/JsonMembers.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<ChapterHeading> HeadingFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    ChapterHeading heading{-1, {}};
    if (!value.isObject() || !Take(object, u"position", heading.position, IntegerOf)
        || !Take(object, u"text", heading.text, TextOf) || heading.position < 0)
        return std::nullopt;
    return heading;
}

std::optional<Bookmark> BookmarkFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    Bookmark bookmark;
    bookmark.position = -1;
    if (!value.isObject() || !Take(object, u"position", bookmark.position, IntegerOf)
        || !Take(object, u"chapterTitle", bookmark.chapterTitle, TextOf)
        || !Take(object, u"label", bookmark.label, TextOf) || !Take(object, u"created", bookmark.created, IntegerOf)
        || bookmark.position < 0)
        return std::nullopt;
    return bookmark;
}

std::optional<ChangeMark> MarkFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    ChangeMark mark;
    if (!value.isObject() || !Take(object, u"time", mark.time, IntegerOf)
        || !Take(object, u"device", mark.device, TextOf))
        return std::nullopt;
    return mark;
}

std::optional<RecordChanges> ChangesFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    RecordChanges changes;
    const bool read = value.isObject() && Take(object, u"place", changes.place, MarkFromJson)
        && Take(object, u"encoding", changes.encoding, MarkFromJson)
        && Take(object, u"chapterRule", changes.chapterRule, MarkFromJson)
        && Take(object, u"removedHeadings", changes.removedHeadings, MarkFromJson)
        && Take(object, u"script", changes.script, MarkFromJson)
        && Take(object, u"deletedBookmarks", changes.deletedBookmarks, BookmarksFromJson);
    return read ? std::optional<RecordChanges>(changes) : std::nullopt;
}

// The parts a record has on every computer: the place and the choices.
bool TakeSyncedParts(const QJsonObject &object, BookRecord &record)
{
    return Take(object, u"chapter", record.chapter, Int32Of)
        && Take(object, u"chapterTitle", record.chapterTitle, TextOf) && Take(object, u"line", record.line, Int32Of)
        && Take(object, u"position", record.position, IntegerOf)
        && Take(object, u"removedHeadings", record.removedHeadings, HeadingsFromJson)
        && Take(object, u"removedUnderRule", record.removedUnderRule, TextOf)
        && Take(object, u"bookmarks", record.bookmarks, BookmarksFromJson)
        && Take(object, u"encoding", record.encoding, TextOf)
        && Take(object, u"chapterRule", record.chapterRule, TextOf) && Take(object, u"script", record.script, TextOf)
        && Take(object, u"changes", record.changes, ChangesFromJson);
}

std::optional<BookRecord> RecordFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    BookRecord record;
    const bool read = value.isObject() && Take(object, u"size", record.size, IntegerOf)
        && Take(object, u"modified", record.modified, IntegerOf)
        && Take(object, u"lastRead", record.lastRead, IntegerOf) && TakeSyncedParts(object, record);
    return read ? std::optional<BookRecord>(record) : std::nullopt;
}

QJsonObject MarkToJson(const ChangeMark &mark)
{
    return QJsonObject{{QStringLiteral("time"), mark.time}, {QStringLiteral("device"), mark.device}};
}

} // namespace

QJsonArray HeadingsToJson(const QList<ChapterHeading> &headings)
{
    QJsonArray array;
    for (const ChapterHeading &heading : headings)
        array.append(QJsonObject{{QStringLiteral("position"), qint64(heading.position)},
                                 {QStringLiteral("text"), heading.text}});
    return array;
}

QJsonArray BookmarksToJson(const QList<Bookmark> &bookmarks)
{
    QJsonArray array;
    for (const Bookmark &bookmark : bookmarks)
        array.append(QJsonObject{{QStringLiteral("position"), qint64(bookmark.position)},
                                 {QStringLiteral("chapterTitle"), bookmark.chapterTitle},
                                 {QStringLiteral("label"), bookmark.label},
                                 {QStringLiteral("created"), bookmark.created}});
    return array;
}

std::optional<QList<ChapterHeading>> HeadingsFromJson(const QJsonValue &value)
{
    return ListFromJson(value, HeadingFromJson);
}

std::optional<QList<Bookmark>> BookmarksFromJson(const QJsonValue &value)
{
    return ListFromJson(value, BookmarkFromJson);
}

std::optional<QMap<QString, BookRecord>> BookRecordsFromJson(const QByteArray &json)
{
    const QJsonObject store = QJsonDocument::fromJson(json).object();
    const QJsonValue books = store.value(QLatin1StringView("books"));
    const QJsonValue version = store.value(QLatin1StringView("version"));
    if (!books.isObject() || !(version.isUndefined() || IntegerOf(version)))
        return std::nullopt;
    QMap<QString, BookRecord> records;
    const QJsonObject object = books.toObject();
    for (auto book = object.constBegin(); book != object.constEnd(); ++book) {
        const std::optional<BookRecord> record = RecordFromJson(book.value());
        if (!record)
            return std::nullopt;
        records.insert(book.key(), *record);
    }
    return records;
}

QJsonObject ChangesToJson(const RecordChanges &changes)
{
    return QJsonObject{{QStringLiteral("place"), MarkToJson(changes.place)},
                       {QStringLiteral("encoding"), MarkToJson(changes.encoding)},
                       {QStringLiteral("chapterRule"), MarkToJson(changes.chapterRule)},
                       {QStringLiteral("removedHeadings"), MarkToJson(changes.removedHeadings)},
                       {QStringLiteral("script"), MarkToJson(changes.script)},
                       {QStringLiteral("deletedBookmarks"), BookmarksToJson(changes.deletedBookmarks)}};
}

std::optional<RecordChanges> RecordChangesFromJson(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    return document.isObject() ? ChangesFromJson(document.object()) : std::nullopt;
}

QJsonObject SyncedRecordToObject(const BookRecord &record)
{
    return QJsonObject{{QStringLiteral("version"), 1},
                       {QStringLiteral("chapter"), record.chapter},
                       {QStringLiteral("chapterTitle"), record.chapterTitle},
                       {QStringLiteral("line"), record.line},
                       {QStringLiteral("position"), qint64(record.position)},
                       {QStringLiteral("removedHeadings"), HeadingsToJson(record.removedHeadings)},
                       {QStringLiteral("removedUnderRule"), record.removedUnderRule},
                       {QStringLiteral("bookmarks"), BookmarksToJson(record.bookmarks)},
                       {QStringLiteral("encoding"), record.encoding},
                       {QStringLiteral("chapterRule"), record.chapterRule},
                       {QStringLiteral("script"), record.script},
                       {QStringLiteral("changes"), ChangesToJson(record.changes)}};
}

std::optional<BookRecord> SyncedRecordFromObject(const QJsonObject &object)
{
    BookRecord record;
    if (!IntegerOf(object.value(QLatin1StringView("version"))) || !TakeSyncedParts(object, record))
        return std::nullopt;
    return record;
}

QByteArray SyncedRecordToJson(const BookRecord &record)
{
    return QJsonDocument(SyncedRecordToObject(record)).toJson(QJsonDocument::Compact);
}

std::optional<BookRecord> SyncedRecordFromJson(const QByteArray &json)
{
    return SyncedRecordFromObject(QJsonDocument::fromJson(json).object());
}
