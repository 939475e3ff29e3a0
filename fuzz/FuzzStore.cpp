// Reads random bytes as books.json and checks the store's own JSON reader
// against Qt's JSON parser as the reference: whatever the bytes, the reader
// never crashes, and it accepts them exactly when the reference finds a
// store in them, with the same records. A store it accepts is written back
// and must read the same again.
//
// Left out of the comparison: objects with a member given twice (Qt keeps the
// last value without looking at the earlier ones, while the reader wants every
// value of a known member to have its type), and texts holding a byte-order
// mark after their start (Qt drops one that opens a string, the reader keeps
// it as the character it is). The reader never writes either.
#include "FuzzCheck.h"
#include "core/BookStoreFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

// Containers nested deeper than this are refused, where the reader skips them.
constexpr int kDeepest = 64;
constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53

int Depth(const QJsonValue &value)
{
    int deepest = 0;
    if (value.isArray()) {
        for (const QJsonValue element : value.toArray())
            deepest = std::max(deepest, Depth(element));
    } else if (value.isObject()) {
        for (const QJsonValue member : value.toObject())
            deepest = std::max(deepest, Depth(member));
    } else {
        return 0;
    }
    return deepest + 1;
}

std::optional<qint64> Integer(const QJsonValue &value)
{
    const double number = value.toDouble();
    if (!value.isDouble() || std::trunc(number) != number || std::abs(number) > kLargestExactInteger)
        return std::nullopt;
    return qint64(number);
}

std::optional<int> Integer32(const QJsonValue &value)
{
    const std::optional<qint64> number = Integer(value);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*number);
}

std::optional<ChapterHeading> ReferenceHeading(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    ChapterHeading heading{-1, {}};
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (member.key() == u"position") {
            heading.position = Integer(member.value()).value_or(-1);
            if (!Integer(member.value()))
                return std::nullopt;
        } else if (member.key() == u"text") {
            if (!member.value().isString())
                return std::nullopt;
            heading.text = member.value().toString();
        } else if (Depth(member.value()) > kDeepest) {
            return std::nullopt;
        }
    }
    if (!value.isObject() || heading.position < 0)
        return std::nullopt;
    return heading;
}

std::optional<Bookmark> ReferenceBookmark(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    Bookmark bookmark;
    bookmark.position = -1;
    for (auto member = object.begin(); member != object.end(); ++member) {
        const QString key = member.key();
        const QJsonValue field = member.value();
        if (key == u"position" || key == u"created") {
            const std::optional<qint64> number = Integer(field);
            if (!number)
                return std::nullopt;
            (key == u"position" ? bookmark.position : bookmark.created) = *number;
        } else if (key == u"chapterTitle" || key == u"label") {
            if (!field.isString())
                return std::nullopt;
            (key == u"label" ? bookmark.label : bookmark.chapterTitle) = field.toString();
        } else if (Depth(field) > kDeepest) {
            return std::nullopt;
        }
    }
    if (!value.isObject() || bookmark.position < 0)
        return std::nullopt;
    return bookmark;
}

// One member of a record, as the reader takes it; false for a wrong type.
bool ReferenceMember(const QString &key, const QJsonValue &value, BookRecord &record)
{
    const auto take = [](auto &field, const auto &read) {
        if (read)
            field = *read;
        return read.has_value();
    };
    if (key == u"size")
        return take(record.size, Integer(value));
    if (key == u"modified")
        return take(record.modified, Integer(value));
    if (key == u"lastRead")
        return take(record.lastRead, Integer(value));
    if (key == u"chapter")
        return take(record.chapter, Integer32(value));
    if (key == u"line")
        return take(record.line, Integer32(value));
    if (key == u"chapterTitle")
        return value.isString() && take(record.chapterTitle, std::optional(value.toString()));
    for (const auto &[name, field] :
         {std::pair{u"encoding", &record.encoding}, std::pair{u"chapterRule", &record.chapterRule},
          std::pair{u"removedUnderRule", &record.removedUnderRule}}) {
        if (key == name)
            return value.isString() && take(*field, std::optional(value.toString()));
    }
    if (key == u"bookmarks") {
        record.bookmarks.clear();
        for (const QJsonValue element : value.toArray()) {
            const std::optional<Bookmark> bookmark = ReferenceBookmark(element);
            if (!bookmark)
                return false;
            record.bookmarks.append(*bookmark);
        }
        return value.isArray();
    }
    if (key == u"removedHeadings") {
        record.removedHeadings.clear();
        for (const QJsonValue element : value.toArray()) {
            const std::optional<ChapterHeading> heading = ReferenceHeading(element);
            if (!heading)
                return false;
            record.removedHeadings.append(*heading);
        }
        return value.isArray();
    }
    return Depth(value) <= kDeepest;
}

std::optional<BookRecords> ReferenceBooks(const QJsonValue &value)
{
    BookRecords records;
    const QJsonObject books = value.toObject();
    for (auto book = books.begin(); book != books.end(); ++book) {
        const QJsonObject object = book.value().toObject();
        BookRecord record;
        for (auto member = object.begin(); member != object.end(); ++member) {
            if (!ReferenceMember(member.key(), member.value(), record))
                return std::nullopt;
        }
        if (!book.value().isObject())
            return std::nullopt;
        records.insert(book.key(), record);
    }
    if (!value.isObject())
        return std::nullopt;
    return records;
}

std::optional<BookRecords> ReferenceStore(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    std::optional<BookRecords> records;
    for (auto member = root.begin(); member != root.end(); ++member) {
        if (member.key() == u"books")
            records = ReferenceBooks(member.value());
        else if (member.key() == u"version" ? !Integer(member.value()) : Depth(member.value()) > kDeepest)
            return std::nullopt;
        if (member.key() == u"books" && !records)
            return std::nullopt;
    }
    return records;
}

// Whether an object in the text holds a name twice. The text is JSON that Qt
// has read, so a plain walk over its strings and brackets is enough.
bool HasRepeatedName(const QByteArray &text)
{
    QList<QSet<QByteArray>> objects; // names so far, per open object
    QList<char> open;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '[') {
            open.append(c);
            objects.append(QSet<QByteArray>());
        } else if (c == '}' || c == ']') {
            open.removeLast();
            objects.removeLast();
        } else if (c == '"') {
            const qsizetype start = ++i;
            while (text[i] != '"')
                i += text[i] == '\\' ? 2 : 1;
            qsizetype next = i + 1;
            while (next < text.size() && QByteArrayView(" \t\r\n").contains(text[next]))
                ++next;
            const bool isName = !open.isEmpty() && open.last() == '{' && next < text.size() && text[next] == ':';
            const QByteArray name = text.mid(start, i - start);
            if (isName && objects.last().contains(name))
                return true;
            if (isName)
                objects.last().insert(name);
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<BookRecords> read = BookRecordsFromJson(bytes);
    const std::optional<BookRecords> reference = ReferenceStore(bytes);
    if (bytes.indexOf("\xEF\xBB\xBF", 1) >= 0 || (!QJsonDocument::fromJson(bytes).isNull() && HasRepeatedName(bytes)))
        return 0;
    FUZZ_REQUIRE(
        read.has_value() == reference.has_value(),
        QStringLiteral("input %1: the reader %2 it, the reference %3 it")
            .arg(Shown(bytes), read ? u"accepts"_qs : u"refuses"_qs, reference ? u"accepts"_qs : u"refuses"_qs));
    if (!read)
        return 0;
    FUZZ_REQUIRE(*read == *reference, QStringLiteral("input %1: the records differ").arg(Shown(bytes)));
    FUZZ_REQUIRE(BookRecordsFromJson(BookRecordsToJson(*read)) == read,
                 QStringLiteral("input %1: written back, the records read otherwise").arg(Shown(bytes)));
    return 0;
}
