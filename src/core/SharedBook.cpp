#include "core/SharedBook.h"

#include "core/BookRecordJson.h"
#include "core/JsonMembers.h"
#include "core/RecordLimits.h"
#include "core/RecordMerge.h"

#include <QJsonDocument>

#include <algorithm>

namespace {

constexpr qint64 kDayMs = qint64(24) * 60 * 60 * 1000;

std::optional<HighlightColour> ColourOf(const QJsonValue &value)
{
    const std::optional<int> colour = Int32Of(value);
    if (!colour || *colour < 0 || *colour >= kHighlightColourCount)
        return std::nullopt;
    return HighlightColour(*colour);
}

std::optional<QDate> DayOf(const QJsonValue &value)
{
    const QDate day = QDate::fromString(value.toString(), Qt::ISODate);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

QJsonObject HighlightToJson(const Highlight &highlight)
{
    return QJsonObject{
        {QStringLiteral("start"), qint64(highlight.start)}, {QStringLiteral("end"), qint64(highlight.end)},
        {QStringLiteral("text"), highlight.text},           {QStringLiteral("colour"), int(highlight.colour)},
        {QStringLiteral("note"), highlight.note},           {QStringLiteral("created"), highlight.created},
        {QStringLiteral("changed"), highlight.changed},     {QStringLiteral("deleted"), highlight.deleted}};
}

std::optional<Highlight> HighlightFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    Highlight highlight;
    const bool read = value.isObject() && Take(object, u"start", highlight.start, IntegerOf)
        && Take(object, u"end", highlight.end, IntegerOf) && Take(object, u"text", highlight.text, TextOf)
        && Take(object, u"colour", highlight.colour, ColourOf) && Take(object, u"note", highlight.note, TextOf)
        && Take(object, u"created", highlight.created, IntegerOf)
        && Take(object, u"changed", highlight.changed, IntegerOf)
        && Take(object, u"deleted", highlight.deleted, IntegerOf);
    return read ? std::optional<Highlight>(highlight) : std::nullopt;
}

QJsonObject RowToJson(const ReadingTimeRow &row)
{
    return QJsonObject{{QStringLiteral("day"), row.day.toString(Qt::ISODate)},
                       {QStringLiteral("device"), row.device},
                       {QStringLiteral("ms"), row.ms},
                       {QStringLiteral("characters"), row.characters}};
}

std::optional<ReadingTimeRow> RowFromJson(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    ReadingTimeRow row;
    const bool read = value.isObject() && Take(object, u"day", row.day, DayOf)
        && Take(object, u"device", row.device, TextOf) && Take(object, u"ms", row.ms, IntegerOf)
        && Take(object, u"characters", row.characters, IntegerOf);
    return read ? std::optional<ReadingTimeRow>(row) : std::nullopt;
}

template <typename Element>
QJsonArray ArrayOf(const QList<Element> &list, QJsonObject (*toJson)(const Element &))
{
    QJsonArray array;
    for (const Element &element : list)
        array.append(toJson(element));
    return array;
}

bool HighlightWithinLimits(const Highlight &highlight)
{
    return highlight.start >= 0 && highlight.end == highlight.start + highlight.text.size() && !highlight.text.isEmpty()
        && highlight.text.size() <= kLongestHighlightText && highlight.note.size() <= kLongestHighlightText;
}

// Characters come from moves of the place at a reading pace, far below one
// a millisecond.
bool RowWithinLimits(const ReadingTimeRow &row)
{
    return row.day.isValid() && !row.device.isEmpty() && row.device.size() <= kLongestText && row.ms >= 0
        && row.ms <= kDayMs && row.characters >= 0 && row.characters <= row.ms;
}

template <typename Element>
QList<Element> KeptWithin(const QList<Element> &list, bool (*withinLimits)(const Element &), qsizetype most)
{
    QList<Element> kept;
    std::copy_if(list.begin(), list.end(), std::back_inserter(kept), withinLimits);
    kept.resize(std::min(kept.size(), most));
    return kept;
}

} // namespace

QByteArray SharedBookToJson(const SharedBook &book)
{
    QJsonObject object = SyncedRecordToObject(book.record);
    object.insert(QStringLiteral("highlights"), ArrayOf(book.highlights, HighlightToJson));
    object.insert(QStringLiteral("readingTime"), ArrayOf(book.readingTime, RowToJson));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SharedBook> SharedBookFromJson(const QByteArray &json, const QString &key)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    const std::optional<BookRecord> record = SyncedRecordFromObject(object);
    SharedBook book;
    const auto highlights = [](const QJsonValue &value) { return ListFromJson(value, HighlightFromJson); };
    const auto rows = [](const QJsonValue &value) { return ListFromJson(value, RowFromJson); };
    if (!record || !Take(object, u"highlights", book.highlights, highlights)
        || !Take(object, u"readingTime", book.readingTime, rows))
        return std::nullopt;
    book.record = *record;
    for (ReadingTimeRow &row : book.readingTime)
        row.book = key;
    return book;
}

SharedBook WithinLimits(SharedBook book, qint64 bookSize)
{
    book.record = WithinLimits(std::move(book.record), bookSize);
    book.highlights = KeptWithin(book.highlights, HighlightWithinLimits, kMostHighlights);
    book.readingTime = KeptWithin(book.readingTime, RowWithinLimits, kMostReadingTimeRows);
    return book;
}

SharedBook MergeSharedBooks(const SharedBook &local, const SharedBook &remote)
{
    return {MergeRecords(local.record, remote.record), MergeHighlights(local.highlights, remote.highlights),
            MergedReadingTime(local.readingTime, remote.readingTime)};
}
