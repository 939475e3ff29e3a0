#pragma once
// Book records as JSON, in the shape the book store of earlier versions
// (books.json) gave them; the store keeps a record's lists in that shape too.
//
//     {"version":1,"books":{"a.txt":{"size":5,"modified":6,"chapter":1,
//      "chapterTitle":"第一章","line":2,"lastRead":7,
//      "removedHeadings":[{"position":3,"text":"第二天\r"}],"removedUnderRule":"",
//      "bookmarks":[{"position":12,"chapterTitle":"第一章","label":"他说","created":8}],
//      "encoding":"UTF-16LE","chapterRule":"strict"}}}
//
// Besides, a record may hold "position", "script" and "changes" (see
// ChangesToJson). Every member of a record is optional; members not known are skipped. A
// value of the wrong type (text for a number, a fraction, a chapter or line
// beyond 32 bits, a heading or bookmark without a position) makes the whole
// value unreadable, as the earlier versions had it.
#include "core/BookRecord.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>

#include <optional>

QJsonArray HeadingsToJson(const QList<ChapterHeading> &headings);
QJsonArray BookmarksToJson(const QList<Bookmark> &bookmarks);
// nullopt when the value is not such an array.
std::optional<QList<ChapterHeading>> HeadingsFromJson(const QJsonValue &value);
std::optional<QList<Bookmark>> BookmarksFromJson(const QJsonValue &value);

// The records of a books.json by file name; nullopt when the text is not
// such a store (not JSON, no "books" object, a value of the wrong type).
std::optional<QMap<QString, BookRecord>> BookRecordsFromJson(const QByteArray &json);

// When each part of a record was last changed, as an object:
//     {"place":{"time":5,"device":"pc-1"},"encoding":{...},"chapterRule":{...},
//      "removedHeadings":{...},"script":{...},"deletedBookmarks":[...]}
// nullopt when the text is not such an object.
QJsonObject ChangesToJson(const RecordChanges &changes);
std::optional<RecordChanges> RecordChangesFromJson(const QByteArray &json);

// The parts of a record that every computer sharing the reader's places has,
// as the file kept for the book on the shared folder: {"version":1, the place
// (chapter, chapterTitle, line, position), removedHeadings, removedUnderRule,
// bookmarks, encoding, chapterRule, script, changes}. The size, modification
// time, lastRead and progress belong to one computer and are left out.
// nullopt when the text is not such a file (not JSON, no version, a value of
// the wrong type).
QByteArray SyncedRecordToJson(const BookRecord &record);
std::optional<BookRecord> SyncedRecordFromJson(const QByteArray &json);
// The same as a JSON object, which a shared file holds with more (SharedBook.h).
QJsonObject SyncedRecordToObject(const BookRecord &record);
std::optional<BookRecord> SyncedRecordFromObject(const QJsonObject &object);
