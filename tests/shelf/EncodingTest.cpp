#include "core/TextEncodingDetector.h"
#include "shelf/Shelf.h"
#include "support/SessionFixture.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>
#include <utility>

namespace {

constexpr qsizetype kPieceSize = 100000;

// Traditional characters only (all of them exist in Big5), none of which
// can start or end a chapter heading.
const QString kProse =
    QStringLiteral("見字如面我到雨港已經一個禮拜了直到今天才提起筆來給妳寫信請別怪這幾乎沒有停過火車進站的時候"
                   "窗外灰濛濛片還以為是起霧下知道那細得像層紗不打傘也會濕透可走上十分鐘頭髮和肩膀就全都潮");

QString ProseLine(int seed)
{
    QString line = QStringLiteral("　　");
    for (int i = 0; i < 60; ++i)
        line += kProse[(seed * 7 + i * 13) % kProse.size()];
    return line + QStringLiteral("。\r\n");
}

// A title line, five chapters with 第X章 headings and prose, CR LF.
QString Novel()
{
    const QStringList headings = {QStringLiteral("第一章 初到雨港"), QStringLiteral("第二章 漁市的清晨"),
                                  QStringLiteral("第三章 颱風夜"), QStringLiteral("第四章 燈塔下的約定"),
                                  QStringLiteral("第五章 歸程")};
    QString text = QStringLiteral("雨港書簡\r\n作者：白露\r\n\r\n");
    for (int chapter = 0; chapter < headings.size(); ++chapter) {
        text += headings[chapter] + QStringLiteral("\r\n");
        for (int line = 0; line < 400; ++line)
            text += ProseLine(chapter * 1000 + line);
    }
    return text;
}

// An encoding as a book file uses it: the codec and the mark before the text.
struct BookFormat {
    const char *codec;
    QByteArray mark;

    QByteArray Encode(const QString &text) const
    {
        QStringEncoder encoder(codec);
        return mark + encoder.encode(text);
    }
};

QList<std::pair<const char *, BookFormat>> Formats()
{
    return {{"GB18030", {"GB18030", {}}},
            {"UTF-8", {"UTF-8", {}}},
            {"UTF-8 with mark", {"UTF-8", "\xEF\xBB\xBF"}},
            {"UTF-16LE with mark", {"UTF-16LE", "\xFF\xFE"}},
            {"UTF-16BE with mark", {"UTF-16BE", "\xFE\xFF"}},
            {"Big5", {"Big5", {}}}};
}

// What the reader makes of a book: its text, its chapter list and the text
// the pane is given for each chapter.
struct OpenedBook {
    QString text;
    QStringList chapters;
    QStringList panes;
};

OpenedBook OpenAsOnlyBook(const QByteArray &bytes)
{
    SessionFixture reader;
    reader.AddBook(QStringLiteral("book.txt"), bytes);
    reader.ListBooks();
    reader.OpenBookAt(0);
    OpenedBook book{reader.BookText(), {}, {}};
    const ChapterListModel &chapters = reader.Session().Chapters();
    for (int i = 0; i < chapters.Count(); ++i) {
        book.chapters << chapters.Text(i);
        reader.Session().ShowChapter(i);
        book.panes << reader.Pane().Text();
    }
    return book;
}

// A book whose character `split` starts `bytesBefore` bytes before the
// file offset `boundary`, with a heading on either side of it.
QString TextWithCharacterAcross(const BookFormat &format, qsizetype boundary, const QString &split,
                                qsizetype bytesBefore)
{
    QString text = QStringLiteral("雨夜\r\n第一章 開端\r\n");
    qsizetype size = format.Encode(text).size();
    const QString line = ProseLine(0);
    const qsizetype lineSize = format.Encode(line).size() - format.mark.size();
    while (size + lineSize <= boundary - bytesBefore) {
        text += line;
        size += lineSize;
    }
    const qsizetype asciiSize = format.Encode(QStringLiteral("x")).size() - format.mark.size();
    text += QString((boundary - bytesBefore - size) / asciiSize, QLatin1Char('x'));
    return text + split + QStringLiteral("\r\n第二章 結尾\r\n") + line;
}

} // namespace

Q_DECLARE_METATYPE(BookFormat)

class EncodingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameNovel_readsTheSameInEveryEncoding_data()
    {
        QTest::addColumn<BookFormat>("format");
        for (const auto &[name, format] : Formats())
            QTest::newRow(name) << format;
    }

    void sameNovel_readsTheSameInEveryEncoding()
    {
        QFETCH(BookFormat, format);
        const QString novel = Novel();
        const OpenedBook reference = OpenAsOnlyBook(BookFormat{"GB18030", {}}.Encode(novel));
        QCOMPARE(reference.text, novel);
        QCOMPARE(reference.chapters,
                 QStringList({QStringLiteral("雨港書簡\r"), QStringLiteral("第一章 初到雨港\r"),
                              QStringLiteral("第二章 漁市的清晨\r"), QStringLiteral("第三章 颱風夜\r"),
                              QStringLiteral("第四章 燈塔下的約定\r"), QStringLiteral("第五章 歸程\r")}));
        QVERIFY(reference.panes[2].startsWith(QStringLiteral("第二章 漁市的清晨\r\n　　")));

        const QByteArray bytes = format.Encode(novel);
        QVERIFY(bytes.size() > 2 * kPieceSize);
        const OpenedBook book = OpenAsOnlyBook(bytes);
        QCOMPARE(book.text, reference.text);
        QCOMPARE(book.chapters, reference.chapters);
        QCOMPARE(book.panes, reference.panes);
    }

    void characterAcrossBoundary_decodesWhole_data()
    {
        QTest::addColumn<BookFormat>("format");
        QTest::addColumn<QString>("split");
        QTest::addColumn<qsizetype>("bytesBefore");
        QTest::addColumn<qsizetype>("boundary");
        const BookFormat gb18030{"GB18030", {}}, big5{"Big5", {}}, utf8{"UTF-8", {}},
            utf8Marked{"UTF-8", "\xEF\xBB\xBF"}, utf16le{"UTF-16LE", "\xFF\xFE"}, utf16be{"UTF-16BE", "\xFE\xFF"};
        const QString 書 = QStringLiteral("書"), supplementary = QStringLiteral("𠀋");
        for (const qsizetype boundary : {kPieceSize, kEncodingSampleSize}) {
            const auto row = [boundary](const char *name) -> QTestData & {
                return QTest::addRow("%s at %lld", name, qlonglong(boundary));
            };
            row("GB18030 2|2 of 4") << gb18030 << supplementary << qsizetype(2) << boundary;
            row("GB18030 1|1") << gb18030 << 書 << qsizetype(1) << boundary;
            row("Big5 1|1") << big5 << 書 << qsizetype(1) << boundary;
            row("UTF-8 1|2") << utf8 << 書 << qsizetype(1) << boundary;
            row("UTF-8 2|1") << utf8 << 書 << qsizetype(2) << boundary;
            row("UTF-8 with mark 3|1 of 4") << utf8Marked << supplementary << qsizetype(3) << boundary;
            row("UTF-16LE surrogate pair") << utf16le << supplementary << qsizetype(2) << boundary;
            row("UTF-16BE surrogate pair") << utf16be << supplementary << qsizetype(2) << boundary;
        }
    }

    void characterAcrossBoundary_decodesWhole()
    {
        QFETCH(BookFormat, format);
        QFETCH(QString, split);
        QFETCH(qsizetype, bytesBefore);
        QFETCH(qsizetype, boundary);
        const QString text = TextWithCharacterAcross(format, boundary, split, bytesBefore);
        const QByteArray bytes = format.Encode(text);
        const QByteArray splitBytes = BookFormat{format.codec, {}}.Encode(split);
        QCOMPARE(bytes.mid(boundary - bytesBefore, splitBytes.size()), splitBytes);

        const OpenedBook book = OpenAsOnlyBook(bytes);
        QCOMPARE(book.text, text);
        QCOMPARE(book.chapters.size(), 3);
        QCOMPARE(book.chapters[2], QStringLiteral("第二章 結尾\r"));
    }

    void asciiBook_readsAsIs()
    {
        const QString text = QStringLiteral("A plain book\r\nChapter one\r\nNothing but ASCII here.\r\n");
        const OpenedBook book = OpenAsOnlyBook(text.toLatin1());
        QCOMPARE(book.text, text);
        QCOMPARE(book.chapters, QStringList{QStringLiteral("A plain book\r")});
    }

    void gbkBookStartingWithAMegabyteOfAscii_readsAsGb18030()
    {
        QString text = QStringLiteral("Preface\r\n");
        while (text.size() <= kEncodingSampleSize)
            text += QStringLiteral("An English foreword that goes on and on before the story starts.\r\n");
        text += QStringLiteral("第一章 开始\r\n　　山城的雨下了一整夜，天亮时才停。\r\n");
        const OpenedBook book = OpenAsOnlyBook(BookFormat{"GBK", {}}.Encode(text));
        QCOMPARE(book.text, text);
        QCOMPARE(book.chapters.last(), QStringLiteral("第一章 开始\r"));
    }

    void utf8BookWithOneCorruptByte_staysUtf8()
    {
        // A damaged download: one stray byte costs one character, not the book.
        const QString novel = Novel();
        const qsizetype at = novel.indexOf(QStringLiteral("第三章"));
        const BookFormat utf8{"UTF-8", {}};
        const QByteArray bytes = utf8.Encode(novel.left(at)) + '\xFF' + utf8.Encode(novel.mid(at));
        const OpenedBook book = OpenAsOnlyBook(bytes);
        QCOMPARE(book.text, QString(novel).insert(at, QChar(QChar::ReplacementCharacter)));
        QCOMPARE(book.chapters.size(), 6);
    }

    void utf16NulCharacter_cutsItsPieceButZeroBytesInsideCharactersDoNot()
    {
        // "A一" is 41 00 00 4E in UTF-16LE: two zero bytes, but across two units.
        const QString unitPair = QStringLiteral("A一");
        const qsizetype unitsPerPiece = kPieceSize / 2;
        const QString first = QStringLiteral("第一章 甲\r\n") + QString(unitPair).repeated(1000);
        const QString firstRest = QString(unitsPerPiece - 1 - first.size() - 1, QLatin1Char('y'));
        const QString second = QString(unitPair).repeated(unitsPerPiece / 2);
        const QString third = QStringLiteral("第三章 丙\r\n");
        // The mark is unit 0; the NUL character ends the first piece's text.
        const QString fileText = first + QChar(0) + firstRest + second + QChar(0) + third;
        const QByteArray bytes = BookFormat{"UTF-16LE", "\xFF\xFE"}.Encode(fileText);
        QCOMPARE(bytes.size(), 2 * kPieceSize + 2 * (1 + third.size()));

        const OpenedBook book = OpenAsOnlyBook(bytes);
        QCOMPARE(book.text, first + second);
        QCOMPARE(book.chapters.size(), 2);
    }

    void utf16UnpairedSurrogate_becomesReplacementAndHeadingsStillFound()
    {
        const QString text = QStringLiteral("書\r\n第一章 甲\r\n") + QChar(0xD800)
            + QStringLiteral("乙\r\n第二章 丙\r\n") + QChar(0xDC00);
        const OpenedBook book = OpenAsOnlyBook(BookFormat{"UTF-16BE", "\xFE\xFF"}.Encode(text));
        QCOMPARE(book.text, QStringLiteral("書\r\n第一章 甲\r\n\uFFFD乙\r\n第二章 丙\r\n\uFFFD"));
        QCOMPARE(book.chapters.size(), 3);
    }

    void sampleBooks_openWithTheirHeadings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("firstHeading");
        QTest::addColumn<int>("headings");
        QTest::newRow("UTF-8") << QStringLiteral("星河渡口（UTF-8）.txt") << QStringLiteral("星河渡口\r")
                               << QStringLiteral("第一章 最后一班渡船\r") << 5;
        QTest::newRow("Big5") << QStringLiteral("雨港書簡（Big5）.txt") << QStringLiteral("雨港書簡\r")
                              << QStringLiteral("第一章 初到雨港\r") << 4;
    }

    void sampleBooks_openWithTheirHeadings()
    {
        QFETCH(QString, name);
        QFETCH(QString, head);
        QFETCH(QString, firstHeading);
        QFETCH(int, headings);
        const QDir samples(qEnvironmentVariable("FOLIVAR_SOURCE_DIR") + QStringLiteral("/samples/book"));
        QFile file(samples.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const OpenedBook book = OpenAsOnlyBook(file.readAll());
        QCOMPARE(book.chapters.size(), 1 + headings);
        QCOMPARE(book.chapters[0], head);
        QCOMPARE(book.chapters[1], firstHeading);
        QVERIFY(book.panes[1].startsWith(firstHeading + QLatin1Char('\n')));
        QVERIFY(!book.text.contains(QChar(QChar::ReplacementCharacter)));
    }
};

FOLIVAR_TEST(EncodingTest)
#include "EncodingTest.moc"
