#include "core/ChapterPreview.h"

#include "core/BookReading.h"

#include <QDateTime>
#include <QStringDecoder>

namespace {

// Whether the file is the one the place was measured in, and the bytes it
// names lie within it, read as the book will be.
bool PlaceHolds(const QFile &file, const BookRecord &record)
{
    const FilePlace &place = record.filePlace;
    const qint64 modified = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
    const bool encodingHolds = record.encoding.isEmpty() || record.encoding == place.encoding;
    return place.IsKnown() && encodingHolds && file.size() == record.size && modified == record.modified
        && place.chapterOffset + place.chapterLength <= record.size && place.chapterLength <= kLongestPreview
        && !record.chapterTitle.isEmpty() && EncodingNamed(place.encoding).has_value();
}

// The chapter's bytes decoded; nullopt when they cannot be read or hold a
// half character at either end or a NUL, which the book's reading would cut.
std::optional<QString> DecodedChapter(QFile &file, const FilePlace &place)
{
    if (!file.seek(place.chapterOffset))
        return std::nullopt;
    const QByteArray bytes = file.read(place.chapterLength);
    if (bytes.size() != place.chapterLength)
        return std::nullopt;
    // A mark inside the book is text, as the book's reading has it.
    const QByteArray encoding = place.encoding.toLatin1();
    QStringDecoder decoder(encoding.constData(),
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(0)))
        return std::nullopt;
    return text;
}

} // namespace

std::optional<OpenBook> ReadChapterPreview(QFile &file, const BookRecord &record)
{
    if (!PlaceHolds(file, record))
        return std::nullopt;
    std::optional<QString> text = DecodedChapter(file, record.filePlace);
    if (!text)
        return std::nullopt;
    OpenBook preview;
    preview.fileSize = record.size;
    preview.fileModified = record.modified;
    preview.encoding = {*EncodingNamed(record.filePlace.encoding), 0};
    const qsizetype lineEnd = text->indexOf(u'\n');
    preview.chapters = {{0, text->first(lineEnd < 0 ? text->size() : lineEnd), false}};
    preview.BookText = std::move(*text);
    if (preview.ChapterTitle(0) != record.chapterTitle)
        return std::nullopt;
    return preview;
}

namespace {

// The text of the file's first bytes up to the end of their last whole line
// (all of it when they are the whole file); the trimmed text is the book's
// start, as the book's reading makes it.
QString FirstWholeLines(QIODevice &file, qint64 fileSize, const TextEncoding &encoding)
{
    const qint64 length = qMin(fileSize, kFirstScreenBytes);
    const ReadingSplit oneThread{1, kBookPieceSize, 0};
    QString text = ReadBookText(file, length, encoding, {}, {}, oneThread).value_or(QString());
    file.seek(0);
    if (length < fileSize)
        text.truncate(text.lastIndexOf(u'\n') + 1);
    return text;
}

} // namespace

std::optional<OpenBook> ReadFirstScreen(QIODevice &file, const OpenBook &book)
{
    OpenBook preview = book;
    preview.BookText = FirstWholeLines(file, book.fileSize, book.encoding);
    preview.BuildChapterIndex();
    const std::optional<TextRange> first = preview.ChapterRange(0);
    if (!first || first->end <= first->start)
        return std::nullopt;
    preview.BookText.truncate(first->end);
    preview.chapters = {preview.chapters.first()};
    preview.textBytes = {};
    return preview;
}
