#include "core/BookStoreFile.h"

#include "core/JsonReader.h"
#include "core/Log.h"
#include "core/SafeFile.h"

#include <QFile>

#include <limits>

namespace {

constexpr int kStoreVersion = 1;

// UTF-8 text with the characters JSON must escape escaped.
void AppendEscapedUtf8(QByteArray &out, QByteArrayView utf8)
{
    qsizetype run = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c != '"' && c != '\\' && uchar(c) >= 0x20)
            continue;
        out.append(utf8.sliced(run, i - run));
        if (c == '"' || c == '\\')
            out.append('\\').append(c);
        else
            out.append("\\u00").append(QByteArray::number(uchar(c), 16).rightJustified(2, '0'));
        run = i + 1;
    }
    out.append(utf8.sliced(run));
}

// A JSON string. A surrogate without its partner (a damaged book can leave
// one in a heading) goes as an escape, so the file stays UTF-8 and the text
// reads back the same.
void AppendString(QByteArray &out, const QString &text)
{
    out += '"';
    qsizetype run = 0;
    for (qsizetype i = text.isValidUtf16() ? text.size() : 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            AppendEscapedUtf8(out, QStringView(text).sliced(run, i - run).toUtf8());
            out.append("\\u").append(QByteArray::number(c.unicode(), 16));
            run = i + 1;
        }
    }
    AppendEscapedUtf8(out, QStringView(text).sliced(run).toUtf8());
    out += '"';
}

void AppendMember(QByteArray &out, const char *key, qint64 value)
{
    out += '"';
    out += key;
    out += "\":";
    out += QByteArray::number(value);
}

void AppendHeadings(QByteArray &out, const QList<ChapterHeading> &headings)
{
    out += "\"removedHeadings\":[";
    for (qsizetype i = 0; i < headings.size(); ++i) {
        out += i == 0 ? "{" : ",{";
        AppendMember(out, "position", headings[i].position);
        out += ",\"text\":";
        AppendString(out, headings[i].text);
        out += '}';
    }
    out += ']';
}

void AppendBookmarks(QByteArray &out, const QList<Bookmark> &bookmarks)
{
    out += "\"bookmarks\":[";
    for (qsizetype i = 0; i < bookmarks.size(); ++i) {
        out += i == 0 ? "{" : ",{";
        AppendMember(out, "position", bookmarks[i].position);
        out += ",\"chapterTitle\":";
        AppendString(out, bookmarks[i].chapterTitle);
        out += ",\"label\":";
        AppendString(out, bookmarks[i].label);
        out += ',';
        AppendMember(out, "created", bookmarks[i].created);
        out += '}';
    }
    out += ']';
}

void AppendRecord(QByteArray &out, const BookRecord &record)
{
    out += '{';
    AppendMember(out, "size", record.size);
    out += ',';
    AppendMember(out, "modified", record.modified);
    out += ',';
    AppendMember(out, "chapter", record.chapter);
    out += ",\"chapterTitle\":";
    AppendString(out, record.chapterTitle);
    out += ',';
    AppendMember(out, "line", record.line);
    out += ',';
    AppendHeadings(out, record.removedHeadings);
    out += ',';
    AppendMember(out, "lastRead", record.lastRead);
    if (!record.bookmarks.isEmpty()) {
        out += ',';
        AppendBookmarks(out, record.bookmarks);
    }
    const std::pair<const char *, const QString *> texts[] = {{"encoding", &record.encoding},
                                                              {"chapterRule", &record.chapterRule},
                                                              {"removedUnderRule", &record.removedUnderRule}};
    for (const auto &[key, text] : texts) {
        if (text->isEmpty())
            continue;
        out += ",\"";
        out += key;
        out += "\":";
        AppendString(out, *text);
    }
    out += '}';
}

std::optional<int> IntegerIn32Bits(JsonReader &reader)
{
    const std::optional<qint64> value = reader.Integer();
    if (value && *value >= std::numeric_limits<int>::min() && *value <= std::numeric_limits<int>::max())
        return int(*value);
    return std::nullopt;
}

std::optional<ChapterHeading> ReadHeading(JsonReader &reader)
{
    ChapterHeading heading{-1, {}};
    reader.EnterObject();
    while (reader.NextMember()) {
        if (reader.NameIs("position"))
            heading.position = reader.Integer().value_or(-1);
        else if (reader.NameIs("text"))
            heading.text = reader.String().value_or(QString());
        else
            reader.SkipValue();
    }
    if (reader.Failed() || heading.position < 0)
        return std::nullopt;
    return heading;
}

bool ReadHeadings(JsonReader &reader, QList<ChapterHeading> &headings)
{
    headings.clear(); // a member given twice counts once, the last time
    reader.EnterArray();
    while (reader.NextElement()) {
        const std::optional<ChapterHeading> heading = ReadHeading(reader);
        if (!heading)
            return false;
        headings.append(*heading);
    }
    return !reader.Failed();
}

std::optional<Bookmark> ReadBookmark(JsonReader &reader)
{
    Bookmark bookmark;
    bookmark.position = -1;
    reader.EnterObject();
    while (reader.NextMember()) {
        if (reader.NameIs("position"))
            bookmark.position = reader.Integer().value_or(-1);
        else if (reader.NameIs("chapterTitle"))
            bookmark.chapterTitle = reader.String().value_or(QString());
        else if (reader.NameIs("label"))
            bookmark.label = reader.String().value_or(QString());
        else if (reader.NameIs("created"))
            bookmark.created = reader.Integer().value_or(0);
        else
            reader.SkipValue();
    }
    if (reader.Failed() || bookmark.position < 0)
        return std::nullopt;
    return bookmark;
}

bool ReadBookmarks(JsonReader &reader, QList<Bookmark> &bookmarks)
{
    bookmarks.clear(); // a member given twice counts once, the last time
    reader.EnterArray();
    while (reader.NextElement()) {
        const std::optional<Bookmark> bookmark = ReadBookmark(reader);
        if (!bookmark)
            return false;
        bookmarks.append(*bookmark);
    }
    return !reader.Failed();
}

// One member of a record; false when its value has the wrong type.
bool ReadRecordMember(JsonReader &reader, BookRecord &record)
{
    const auto take = [](auto &field, const auto &value) {
        if (value)
            field = *value;
        return value.has_value();
    };
    if (reader.NameIs("size"))
        return take(record.size, reader.Integer());
    if (reader.NameIs("modified"))
        return take(record.modified, reader.Integer());
    if (reader.NameIs("chapter"))
        return take(record.chapter, IntegerIn32Bits(reader));
    if (reader.NameIs("chapterTitle"))
        return take(record.chapterTitle, reader.String());
    if (reader.NameIs("line"))
        return take(record.line, IntegerIn32Bits(reader));
    if (reader.NameIs("removedHeadings"))
        return ReadHeadings(reader, record.removedHeadings);
    if (reader.NameIs("lastRead"))
        return take(record.lastRead, reader.Integer());
    if (reader.NameIs("bookmarks"))
        return ReadBookmarks(reader, record.bookmarks);
    if (reader.NameIs("encoding"))
        return take(record.encoding, reader.String());
    if (reader.NameIs("chapterRule"))
        return take(record.chapterRule, reader.String());
    if (reader.NameIs("removedUnderRule"))
        return take(record.removedUnderRule, reader.String());
    reader.SkipValue();
    return !reader.Failed();
}

std::optional<BookRecord> ReadRecord(JsonReader &reader)
{
    BookRecord record;
    reader.EnterObject();
    while (reader.NextMember()) {
        if (!ReadRecordMember(reader, record))
            return std::nullopt;
    }
    if (reader.Failed())
        return std::nullopt;
    return record;
}

bool ReadBooks(JsonReader &reader, BookRecords &records)
{
    records.clear(); // a member given twice counts once, the last time
    reader.EnterObject();
    while (reader.NextMember()) {
        const QString name = reader.Name();
        std::optional<BookRecord> record = ReadRecord(reader);
        if (!record)
            return false;
        // The file is in the order of the names: each one goes at the end.
        records.insert(records.cend(), name, std::move(*record));
    }
    return !reader.Failed();
}

} // namespace

QByteArray BookRecordsToJson(const BookRecords &records)
{
    QByteArray out;
    out.reserve(records.size() * 256 + 64);
    out += "{\"version\":" + QByteArray::number(kStoreVersion) + ",\"books\":{";
    // In the order of their names, so that the file changes only where a
    // record did.
    for (auto record = records.cbegin(); record != records.cend(); ++record) {
        out += record == records.cbegin() ? "\n" : ",\n";
        AppendString(out, record.key());
        out += ':';
        AppendRecord(out, record.value());
    }
    out += "\n}}\n";
    return out;
}

std::optional<BookRecords> BookRecordsFromJson(QByteArrayView json)
{
    JsonReader reader(json);
    BookRecords records;
    bool hasBooks = false;
    reader.EnterObject();
    while (reader.NextMember()) {
        if (reader.NameIs("books")) {
            hasBooks = ReadBooks(reader, records);
            if (!hasBooks)
                return std::nullopt;
        } else if (reader.NameIs("version")) {
            if (!reader.Integer())
                return std::nullopt;
        } else {
            reader.SkipValue();
        }
    }
    if (!reader.AtEnd() || !hasBooks)
        return std::nullopt;
    return records;
}

BookStoreFile::BookStoreFile(const QString &path) : path_(path) {}

BookRecords BookStoreFile::Load()
{
    keepDamagedFile_ = false;
    const std::optional<QByteArray> bytes = ReadWholeFile(path_);
    if (bytes && bytes->isEmpty() && !QFile::exists(path_))
        return {};
    std::optional<BookRecords> records = bytes ? BookRecordsFromJson(*bytes) : std::nullopt;
    if (!records) {
        qCWarning(lcCore) << "ignoring the damaged book store" << path_ << "- it is kept as .bad at the next save";
        keepDamagedFile_ = true;
        return {};
    }
    return std::move(*records);
}

bool BookStoreFile::Save(const BookRecords &records)
{
    if (keepDamagedFile_ && WriteRefusal(path_).isEmpty()) {
        const QString kept = path_ + QStringLiteral(".bad");
        QFile::remove(kept);
        QFile::rename(path_, kept);
        keepDamagedFile_ = false;
    }
    return ReplaceFile(path_, BookRecordsToJson(records));
}
