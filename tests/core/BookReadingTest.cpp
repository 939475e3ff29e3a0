#include "core/BookReading.h"
#include "core/BookDecoder.h"
#include "core/ChapterPreview.h"
#include "core/OpenBook.h"
#include "core/ScriptConverter.h"
#include "support/NovelGenerator.h"
#include "support/TestRegistry.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The text and piece count of the one-thread loop the loader ran before:
// pieces up to the length, each decoded in turn, a short one ending it.
struct OneThreadRead {
    QString text;
    qint64 pieces = 0;
};

OneThreadRead ReadOnOneThread(QByteArray file, qint64 length, const TextEncoding &encoding, qint64 pieceSize)
{
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    BookDecoder decoder(encoding);
    OneThreadRead read;
    for (bool atEnd = false; !atEnd; ++read.pieces) {
        const qint64 wanted = qBound<qint64>(0, length - buffer.pos(), pieceSize);
        const QByteArray piece = buffer.read(wanted);
        read.text += decoder.DecodePiece(piece);
        atEnd = piece.size() < wanted || buffer.pos() >= length;
    }
    return read;
}

QByteArray Encoded(const QString &text, const char *encoding, const QByteArray &mark = {})
{
    QStringEncoder encoder(encoding);
    return mark + encoder.encode(text);
}

QString NovelText(quint32 seed, bool crLf = true)
{
    NovelOptions options;
    options.seed = seed;
    options.chapters = 300;
    options.crLf = crLf;
    return GenerateNovel(options).text;
}

// NUL bytes just before, on and after piece boundaries, one of them right
// after the lead byte of a character and one after a line feed.
QByteArray WithNulsAtPieceBoundaries(QByteArray bytes)
{
    for (const qint64 at : {kBookPieceSize - 1, 2 * kBookPieceSize, 3 * kBookPieceSize + 1, 5 * kBookPieceSize - 2})
        bytes[at] = '\0';
    const qsizetype lineFeed = bytes.indexOf('\n', 6 * kBookPieceSize);
    bytes[lineFeed + 1] = '\0';
    bytes[7 * kBookPieceSize - 1] = '\xB5';
    bytes[7 * kBookPieceSize] = '\0';
    return bytes;
}

// Bytes held back at the end of a piece that turn out to start no character,
// and a next piece whose only line feed comes first: the held bytes' text
// does not fit the room Qt's decoder makes for that one byte.
QByteArray WithHeldBytesBeforeALoneLineFeed(QByteArray bytes)
{
    const qsizetype pieceStart = 8 * kBookPieceSize;
    bytes.replace(pieceStart - 4, 4, "a\x82\x36\xB1");
    for (qsizetype at = pieceStart; at < pieceStart + kBookPieceSize; ++at) {
        if (bytes[at] == '\n')
            bytes[at] = ' ';
    }
    bytes[pieceStart] = '\n';
    return bytes;
}

// The novel's text with a line of x's put before one of its headings, so that
// the heading's bytes start exactly where the second piece does.
QString WithHeadingAtPieceStart(const Novel &novel, const TextEncoding &encoding)
{
    const qsizetype xBytes = encoding.IsUtf16() ? 2 : 1;
    const auto offsetOf = [&](qsizetype position) {
        return encoding.markLength + Encoded(novel.text.first(position), encoding.Name()).size();
    };
    PlantedHeading chosen = novel.headings.first();
    for (const PlantedHeading &heading : novel.headings) {
        if (offsetOf(heading.position) + 2 * xBytes <= kBookPieceSize)
            chosen = heading;
    }
    const qsizetype xs = (kBookPieceSize - offsetOf(chosen.position)) / xBytes - 2;
    return QString(novel.text).insert(chosen.position, QString(xs, u'x') + QStringLiteral("\r\n"));
}

// The file's bytes from `offset`, `length` of them, decoded in `encoding`.
QString DecodedBytes(const QByteArray &file, qint64 offset, qint64 length, const TextEncoding &encoding)
{
    QStringDecoder decoder(encoding.Name(), QStringDecoder::Flag::Stateless);
    return decoder.decode(QByteArrayView(file).sliced(offset, length));
}

// What a preview test does to the saved record, or to the file, after the
// place in chapter 120 was saved.
enum class PreviewChange { None, OtherSize, OtherTime, SameSizeOtherBytes, OtherEncodingChosen, NoPlace, NulInChapter };

// The book read as the loader reads it, from the file at `path`.
OpenBook ReadFromFile(const QString &path, const TextEncoding &encoding)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    OpenBook book;
    book.encoding = encoding;
    book.fileSize = file.size();
    book.fileModified = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
    book.BookText = ReadBookText(file, file.size(), encoding, {}, {}, {}, &book.textBytes).value_or(QString());
    book.BuildChapterIndex();
    return book;
}

void WriteFile(const QString &path, const QByteArray &bytes, const QDateTime &modified)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// Changes the file at `path`, or the record, as `change` says.
void MakeChange(PreviewChange change, const QString &path, BookRecord &record)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray bytes = file.readAll();
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    file.close();
    switch (change) {
    case PreviewChange::None:
        return;
    case PreviewChange::OtherSize:
        return WriteFile(path, bytes + "\r\n", modified);
    case PreviewChange::OtherTime:
        return WriteFile(path, bytes, modified.addSecs(60));
    case PreviewChange::SameSizeOtherBytes: // a line moved up front, the time set back
        return WriteFile(path, bytes.last(40) + bytes.first(bytes.size() - 40), modified);
    case PreviewChange::OtherEncodingChosen:
        record.encoding = u"Big5"_s;
        return;
    case PreviewChange::NoPlace:
        record.filePlace = {};
        return;
    case PreviewChange::NulInChapter:
        bytes[record.filePlace.lineOffset] = '\0';
        return WriteFile(path, bytes, modified);
    }
}

} // namespace

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(PreviewChange)

class BookReadingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitReading_givesTheOneThreadText_data();
    void splitReading_givesTheOneThreadText();
    void cancelled_givesNoTextAndStopsReading();
    void filePlaces_holdEachChaptersBytes_data();
    void filePlaces_holdEachChaptersBytes();
    void chapterPreview_isTheSavedChapterOrNone_data();
    void chapterPreview_isTheSavedChapterOrNone();
};

void BookReadingTest::splitReading_givesTheOneThreadText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<int>("threads");

    const QByteArray gbk = Encoded(NovelText(1), "GB18030");
    QTest::newRow("generated GBK book") << gbk << TextEncoding{TextEncoding::Gb18030, 0} << qint64(gbk.size()) << 2;
    QTest::newRow("GBK book, one thread") << gbk << TextEncoding{TextEncoding::Gb18030, 0} << qint64(gbk.size()) << 1;
    QTest::newRow("GBK book, more threads than cores")
        << gbk << TextEncoding{TextEncoding::Gb18030, 0} << qint64(gbk.size()) << 5;
    const QByteArray nuls = WithNulsAtPieceBoundaries(gbk);
    QTest::newRow("NUL bytes at piece boundaries")
        << nuls << TextEncoding{TextEncoding::Gb18030, 0} << qint64(nuls.size()) << 2;
    const QByteArray held = WithHeldBytesBeforeALoneLineFeed(gbk);
    QTest::newRow("held bytes before a piece that opens with its only line feed")
        << held << TextEncoding{TextEncoding::Gb18030, 0} << qint64(held.size()) << 2;
    QTest::newRow("file that shrank: shorter than the length")
        << gbk.first(450'001) << TextEncoding{TextEncoding::Gb18030, 0} << qint64(gbk.size()) << 2;
    QTest::newRow("file that grew: read up to the length")
        << gbk << TextEncoding{TextEncoding::Gb18030, 0} << qint64(550'003) << 2;
    const QByteArray utf16le = Encoded(NovelText(2), "UTF-16LE", "\xFF\xFE");
    QTest::newRow("UTF-16LE book with its mark")
        << utf16le << TextEncoding{TextEncoding::Utf16LE, 2} << qint64(utf16le.size()) << 2;
    QString bareLineFeeds = NovelText(3, false) + QStringLiteral("𠀀");
    bareLineFeeds[bareLineFeeds.size() / 2] = QChar(0);
    const QByteArray utf16be = Encoded(bareLineFeeds, "UTF-16BE");
    QTest::newRow("UTF-16BE book with bare line feeds and a NUL")
        << utf16be << TextEncoding{TextEncoding::Utf16BE, 0} << qint64(utf16be.size()) << 2;
    const QByteArray utf8 = Encoded(NovelText(4), "UTF-8", "\xEF\xBB\xBF");
    QTest::newRow("UTF-8 book with its mark")
        << utf8 << TextEncoding{TextEncoding::Utf8, 3} << qint64(utf8.size()) << 2;
    QTest::newRow("empty file") << QByteArray() << TextEncoding{TextEncoding::Gb18030, 0} << qint64(0) << 2;
}

void BookReadingTest::splitReading_givesTheOneThreadText()
{
    QFETCH(QByteArray, file);
    QFETCH(TextEncoding, encoding);
    QFETCH(qint64, length);
    QFETCH(int, threads);
    const OneThreadRead expected = ReadOnOneThread(file, length, encoding, kBookPieceSize);

    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QList<qint64> reported;
    ReadingSplit split;
    split.threads = threads;
    const std::optional<QString> text = ReadBookText(
        buffer, length, encoding, {}, [&](qint64 pieces) { reported.append(pieces); }, split);
    QVERIFY(text.has_value());
    QVERIFY(*text == expected.text); // not QCOMPARE: it would print the whole book
    QCOMPARE(reported.last(), expected.pieces);
    QVERIFY(std::is_sorted(reported.cbegin(), reported.cend()));
}

void BookReadingTest::cancelled_givesNoTextAndStopsReading()
{
    QByteArray file = Encoded(NovelText(5), "GB18030");
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    int asked = 0;
    qint64 piecesDone = 0;
    const std::optional<QString> text = ReadBookText(
        buffer, file.size(), {TextEncoding::Gb18030, 0}, [&] { return ++asked > 3; },
        [&](qint64 pieces) { piecesDone = pieces; }, {});
    QVERIFY(!text.has_value());
    QVERIFY(buffer.pos() < file.size());
    QVERIFY(piecesDone < file.size() / kBookPieceSize);
}

void BookReadingTest::filePlaces_holdEachChaptersBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QByteArray>("mark");
    // Whether a chapter's bytes start right where the second piece does.
    QTest::addColumn<bool>("headingAtPieceStart");

    NovelOptions options;
    options.chapters = 300;
    const Novel novel = GenerateNovel(options);
    const TextEncoding gb18030{TextEncoding::Gb18030, 0};
    QTest::newRow("GB18030") << novel.text << gb18030 << QByteArray() << false;
    QTest::newRow("GB18030, blank lines first (trimmed)")
        << QStringLiteral("\r\n \u3000\r\n") + novel.text << gb18030 << QByteArray() << false;
    QTest::newRow("GB18030, a heading at a piece boundary")
        << WithHeadingAtPieceStart(novel, gb18030) << gb18030 << QByteArray() << true;
    const TextEncoding utf8{TextEncoding::Utf8, 0};
    QTest::newRow("UTF-8 without its mark, a heading at a piece boundary")
        << WithHeadingAtPieceStart(novel, utf8) << utf8 << QByteArray() << true;
    const TextEncoding utf8Marked{TextEncoding::Utf8, 3};
    QTest::newRow("UTF-8 with its mark, a heading at a piece boundary")
        << WithHeadingAtPieceStart(novel, utf8Marked) << utf8Marked << QByteArray("\xEF\xBB\xBF") << true;
    const TextEncoding utf16le{TextEncoding::Utf16LE, 2};
    QTest::newRow("UTF-16LE with its mark, a heading at a piece boundary")
        << WithHeadingAtPieceStart(novel, utf16le) << utf16le << QByteArray("\xFF\xFE") << true;
    const TextEncoding utf16be{TextEncoding::Utf16BE, 0};
    QTest::newRow("UTF-16BE, a heading at a piece boundary")
        << WithHeadingAtPieceStart(novel, utf16be) << utf16be << QByteArray() << true;
    // In traditional characters, which Big5 holds (〇 it does not).
    const TextEncoding big5{TextEncoding::Big5, 0};
    const QString traditional = ConvertScript(novel.text, ScriptConversion::ToTraditional);
    QTest::newRow("Big5") << QString(traditional).replace(u'〇', u'零') << big5 << QByteArray() << false;
}

// Each chapter's bytes, and those from its line's offset on, decode to the
// chapter's text and the rest of it from that line.
void BookReadingTest::filePlaces_holdEachChaptersBytes()
{
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(QByteArray, mark);
    QFETCH(bool, headingAtPieceStart);
    QByteArray file = Encoded(text, encoding.Name(), mark);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    OpenBook book;
    book.encoding = encoding;
    ReadingSplit split;
    split.threads = 2;
    book.BookText = ReadBookText(buffer, file.size(), encoding, {}, {}, split, &book.textBytes).value_or(QString());
    book.BuildChapterIndex();
    // Most of the 300 headings (in traditional characters a few are none).
    QVERIFY(book.ChapterCount() > 250);

    bool pieceStartSeen = false;
    for (int n = 0; n < book.ChapterCount(); ++n) {
        const QString chapter = book.ChapterText(n);
        const qsizetype line = chapter.indexOf(u'\n', chapter.size() / 2) + 1;
        const std::optional<FilePlace> place = book.FilePlaceOf(n, line);
        QVERIFY(place.has_value());
        QCOMPARE(place->encoding, QString::fromLatin1(encoding.Name()));
        QCOMPARE(DecodedBytes(file, place->chapterOffset, place->chapterLength, encoding), chapter);
        const qint64 chapterEnd = place->chapterOffset + place->chapterLength;
        QCOMPARE(DecodedBytes(file, place->lineOffset, chapterEnd - place->lineOffset, encoding), chapter.sliced(line));
        pieceStartSeen = pieceStartSeen || place->chapterOffset == kBookPieceSize;
    }
    QCOMPARE(pieceStartSeen, headingAtPieceStart);
}

void BookReadingTest::chapterPreview_isTheSavedChapterOrNone_data()
{
    QTest::addColumn<PreviewChange>("change");
    QTest::addColumn<bool>("shown");
    QTest::newRow("the file as it was") << PreviewChange::None << true;
    QTest::newRow("the file grew") << PreviewChange::OtherSize << false;
    QTest::newRow("the file was touched") << PreviewChange::OtherTime << false;
    QTest::newRow("other bytes, same size and time") << PreviewChange::SameSizeOtherBytes << false;
    QTest::newRow("another encoding chosen since") << PreviewChange::OtherEncodingChosen << false;
    QTest::newRow("a record from before places in the file") << PreviewChange::NoPlace << false;
    QTest::newRow("a NUL the book's reading would cut at") << PreviewChange::NulInChapter << false;
}

void BookReadingTest::chapterPreview_isTheSavedChapterOrNone()
{
    QFETCH(PreviewChange, change);
    QFETCH(bool, shown);
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"书.txt"_s);
    const TextEncoding encoding{TextEncoding::Gb18030, 0};
    WriteFile(path, Encoded(NovelText(6), encoding.Name()), QDateTime::currentDateTimeUtc().addDays(-1));
    const OpenBook book = ReadFromFile(path, encoding);
    const int chapter = 120;
    BookRecord record;
    record.size = book.fileSize;
    record.modified = book.fileModified;
    record.chapterTitle = book.ChapterTitle(chapter);
    record.filePlace = book.FilePlaceOf(chapter, 40).value_or(FilePlace{});
    MakeChange(change, path, record);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<OpenBook> preview = ReadChapterPreview(file, record);
    QCOMPARE(preview.has_value(), shown);
    if (preview) {
        QVERIFY(preview->BookText == book.ChapterText(chapter));
        QCOMPARE(preview->ChapterCount(), 1);
        QCOMPARE(preview->ChapterTitle(0), record.chapterTitle);
        QCOMPARE(preview->encoding, encoding);
    }
}

FOLIVAR_TEST(BookReadingTest)

#include "BookReadingTest.moc"
