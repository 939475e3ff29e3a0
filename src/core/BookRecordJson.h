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
// Every member of a record is optional; members not known are skipped. A
// value of the wrong type (text for a number, a fraction, a chapter or line
// beyond 32 bits, a heading or bookmark without a position) makes the whole
// value unreadable, as the earlier versions had it.
#include "core/BookRecord.h"

#include <QByteArray>
#include <QJsonArray>
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
