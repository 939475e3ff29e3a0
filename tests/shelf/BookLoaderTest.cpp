#include "shelf/BookLoader.h"
#include "core/CodePage.h"
#include "shelf/Shelf.h"
#include "support/NovelGenerator.h"
#include "support/SessionFixture.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Records every percentage told and the chapter list when it was.
struct ProgressLog {
    QList<int> percentages;
    QList<int> chapterCounts;
};

void Record(ProgressLog &log, SessionFixture &reader, QObject *context)
{
    QObject::connect(&reader.BookShelf(), &Shelf::loadProgress, context, [&log, &reader](int percentage) {
        log.percentages << percentage;
        log.chapterCounts << reader.Session().Chapters().Count();
    });
}

// ASCII filler of an exact size, so piece boundaries are easy to place.
QByteArray Filler(qsizetype size)
{
    QByteArray bytes(size, 'a');
    for (qsizetype i = 79; i < size; i += 80)
        bytes[i] = '\n';
    return bytes;
}

// The book the loader hands over for the request; the signals it sent,
// in order, go to `sent`.
std::optional<OpenBook> LoadWith(const BookRequest &request, QStringList &sent)
{
    BookLoader loader;
    std::optional<OpenBook> loaded;
    QObject::connect(&loader, &BookLoader::previewLoaded, &loader, [&sent](const OpenBook &preview) {
        sent << u"preview: "_s + preview.fileName + u' ' + preview.ChapterTitle(0);
    });
    QObject::connect(&loader, &BookLoader::bookLoaded, &loader, [&](const OpenBook &book) {
        sent << u"book"_s;
        loaded = book;
    });
    QSignalSpy done(&loader, &BookLoader::bookLoaded);
    loader.Load(request);
    if (!done.wait(30000))
        return std::nullopt;
    return loaded;
}

} // namespace

class BookLoaderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void notifications_followTheBytesRead_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("one piece less one byte") << qsizetype(99999) << QList<int>{100};
        QTest::newRow("exactly one piece") << qsizetype(100000) << QList<int>{100};
        QTest::newRow("one piece plus one byte") << qsizetype(100001) << QList<int>{99, 100};
        QTest::newRow("two and a half pieces") << qsizetype(250000) << QList<int>{40, 80, 100};
        QTest::newRow("three pieces") << qsizetype(300000) << QList<int>{33, 66, 100};
        QTest::newRow("empty file") << qsizetype(0) << QList<int>{100};
    }

    void notifications_followTheBytesRead()
    {
        QFETCH(qsizetype, size);
        QFETCH(QList<int>, expected);
        SessionFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), Filler(size));
        reader.ListBooks();
        ProgressLog log;
        Record(log, reader, this);
        reader.OpenBookAt(0);

        QCOMPARE(log.percentages, expected);
        // Only the last notification rebuilds the chapter list; until then
        // it holds the first screen's title alone.
        for (qsizetype i = 0; i + 1 < log.chapterCounts.size(); ++i)
            QCOMPARE(log.chapterCounts[i], 1);
        QCOMPARE(log.chapterCounts.last(), 1);
        QCOMPARE(reader.BookText(), QString::fromLatin1(Filler(size)));
        QCOMPARE(reader.BookShelf().HighlightedRow(), 0);
    }

    void nulByte_cutsOnlyItsOwnPiece()
    {
        QByteArray bytes = Filler(250000);
        bytes[10] = '\0';
        bytes[100000 + 5] = '\0';
        SessionFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), bytes);
        reader.ListBooks();
        reader.OpenBookAt(0);
        const QByteArray expected = bytes.left(10) + bytes.mid(100000, 5) + bytes.mid(200000);
        QCOMPARE(reader.BookText(), QString::fromLatin1(expected));
    }

    void characterSplitAcrossPieces_decodesWhole()
    {
        // 99999 ASCII bytes put the two bytes of 章 on either side of the boundary.
        const QString text = QString(99999, QLatin1Char('x')) + QStringLiteral("章节完");
        SessionFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), EncodeCodePage(text));
        reader.ListBooks();
        reader.OpenBookAt(0);
        QCOMPARE(reader.BookText(), text);
    }

    void upperCaseExtension_loads()
    {
        SessionFixture reader;
        reader.AddBook(QStringLiteral("B.TXT"), EncodeCodePage(QStringLiteral("标题\r\n第一章 开始\r\n正文")));
        reader.ListBooks();
        reader.Session().OnBookSelected(0); // as the user does
        reader.WaitForLoads();
        QCOMPARE(reader.BookText(), QStringLiteral("标题\r\n第一章 开始\r\n正文"));
        QCOMPARE(reader.Session().Chapters().Count(), 2);
        QCOMPARE(reader.Pane().Text(), QStringLiteral("标题\r\n"));
    }

    void unreadableEntries_changeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("size");
        QTest::newRow("deleted") << QStringLiteral("deleted") << qint64(0);
        QTest::newRow("fifo") << QStringLiteral("fifo") << qint64(0);
        QTest::newRow("directory") << QStringLiteral("directory") << qint64(0);
        QTest::newRow("2 GiB") << QStringLiteral("huge") << (qint64(1) << 31);
        QTest::newRow("3 GiB") << QStringLiteral("huge") << 3 * (qint64(1) << 30);
    }

    void unreadableEntries_changeNothing()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, size);
        SessionFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), EncodeCodePage(QStringLiteral("书一\r\n第一章 甲\r\n内容")));
        reader.AddBook(QStringLiteral("b.txt"), EncodeCodePage(QStringLiteral("书二\r\n第一章 乙\r\n内容")));
        reader.AddBook(QStringLiteral("x.txt"), "placeholder");
        reader.ListBooks();
        reader.OpenBookAt(0);
        const QString bookText = reader.BookText();
        const QString pane = reader.Pane().Text();

        const QString path = QDir(reader.BookFolder()).filePath(QStringLiteral("x.txt"));
        QVERIFY(QFile::remove(path));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (kind == QLatin1String("directory"))
            QVERIFY(QDir().mkdir(path));
        else if (kind == QLatin1String("huge")) {
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly));
            QVERIFY(huge.resize(size)); // sparse: no disk space used
        }
        reader.OpenBookAt(reader.BookShelf().Books().RowOf(QStringLiteral("x.txt")));
        QCOMPARE(reader.BookText(), bookText);
        QCOMPARE(reader.Pane().Text(), pane);
        QCOMPARE(reader.Session().Chapters().Count(), 2);
        QCOMPARE(reader.BookShelf().HighlightedRow(), 0);
        // Nothing was left half done: the next book opens as usual.
        reader.OpenBookAt(1);
        QCOMPARE(reader.BookText(), QStringLiteral("书二\r\n第一章 乙\r\n内容"));
        QCOMPARE(reader.BookShelf().HighlightedRow(), 1);
    }

    // Names that are no UTF-8 (GBK out of a zip archive), that Qt would take
    // for one another, or that hold a line break: each is listed and shown as
    // far as it can be, opens its own book at its own place, names it in
    // config.ini, and opens it again from the books read last.
    void oddFileNames_eachOpenTheirOwnBookAtTheirOwnPlace()
    {
        const QList<QByteArray> names{"\xCA\xE9.txt", "\xEF\xBF\xBD\xEF\xBF\xBD.txt", "a\nb.txt", "b.txt"};
        SessionFixture reader;
        for (qsizetype i = 0; i < names.size(); ++i)
            reader.AddBookWithName(names[i], EncodeCodePage(u"%1\r\n第一章 甲\r\n一\r\n第二章 乙\r\n二\r\n"_s.arg(i)));
        reader.ListBooks();
        const BookListModel &books = reader.BookShelf().Books();
        QCOMPARE(books.Count(), names.size());
        QStringList shown;
        QList<int> opened; // which file each row read
        for (int row = 0; row < books.Count(); ++row) {
            shown << books.data(books.index(row), Qt::DisplayRole).toString();
            reader.OpenBookAt(row);
            opened << reader.BookText().first(1).toInt();
            reader.Session().ShowChapter(row % 3);
        }
        QCOMPARE(shown, QStringList({u"a\uFFFDb.txt"_s, u"b.txt"_s, u"\uFFFD\uFFFD.txt"_s, u"\uFFFD\uFFFD.txt"_s}));
        std::sort(opened.begin(), opened.end());
        QCOMPARE(opened, QList<int>({0, 1, 2, 3}));
        for (int row = 0; row < books.Count(); ++row) {
            reader.OpenBookAt(row);
            QCOMPARE(reader.Session().ShownChapter(), row % 3);
            QCOMPARE(reader.Prefs().Values().bookName, books.Entry(row));
        }
        reader.Session().OnOpenBookFile(reader.Store().RecentBooks().at(2));
        reader.WaitForLoads();
        QCOMPARE(reader.Session().Book().fileName, books.Entry(1));
        QCOMPARE(reader.Session().ShownChapter(), 1);
    }

    void indexOutOfRange_opensNothing()
    {
        SessionFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), "abc");
        reader.ListBooks();
        for (int index : {-1, 1, 1000})
            reader.OpenBookAt(index);
        QCOMPARE(reader.BookText(), QString());
        QCOMPARE(reader.BookShelf().HighlightedRow(), -1);
    }

    void emptyFile_leavesOneEmptyHeadItemAndAnEmptyPane()
    {
        SessionFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), EncodeCodePage(QStringLiteral("书\r\n第一章 甲\r\n内容")));
        reader.AddBook(QStringLiteral("b.txt"), QByteArray());
        reader.ListBooks();
        reader.OpenBookAt(0);
        QVERIFY(!reader.Pane().Text().isEmpty());
        reader.OpenBookAt(1);
        QCOMPARE(reader.Session().Chapters().Count(), 1);
        QCOMPARE(reader.Session().Chapters().Text(0), QString());
        QCOMPARE(reader.Pane().Text(), QString());
        QCOMPARE(reader.BookShelf().HighlightedRow(), 1);
    }

    void selectionDuringLoad_newestBookWinsWithNothingMixedIn()
    {
        const QString first = QStringLiteral("甲书\r\n") + QString(400000, QChar(0x7532));               // 甲
        const QString second = QStringLiteral("乙书\r\n第一章 乙\r\n") + QString(150000, QChar(0x4E59)); // 乙
        SessionFixture reader;
        reader.AddBook(QStringLiteral("1.txt"), EncodeCodePage(first));
        reader.AddBook(QStringLiteral("2.txt"), EncodeCodePage(second));
        reader.ListBooks();
        ProgressLog log;
        Record(log, reader, this);
        bool switched = false;
        connect(&reader.BookShelf(), &Shelf::loadProgress, this, [&](int) {
            if (!switched) {
                switched = true;
                reader.Session().OnBookSelected(1); // the user picks the other book mid-load
            }
        });
        reader.Session().OnBookSelected(0);
        reader.WaitForLoads();
        QVERIFY(switched);
        QCOMPARE(reader.BookText(), second);
        QCOMPARE(reader.BookShelf().HighlightedRow(), 1);
        QCOMPARE(reader.Session().Chapters().Count(), 2);
        QCOMPARE(reader.Session().Chapters().Text(1), QStringLiteral("第一章 乙\r"));
        // The first book stopped at its next piece: no 100 of its own.
        QCOMPARE(log.percentages.count(100), 1);
        QVERIFY(!reader.BookShelf().IsLoading());
    }

    // Rows clicked one after another, some while the book before still loads
    // (no wait), some after it is shown (wait). Rows: 0 a 6 MB book, 1 a small
    // one, 2 a 1 MB one, 3 a directory named like a book.
    void preview_isTheRememberedChapter_beforeTheBook_data()
    {
        QTest::addColumn<bool>("chapterInserted");
        QTest::newRow("the file as the place was saved") << false;
        QTest::newRow("a chapter inserted before the place since") << true;
    }

    void preview_isTheRememberedChapter_beforeTheBook()
    {
        QFETCH(bool, chapterInserted);
        const QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QString text = GenerateNovel({.seed = 3, .chapters = 200, .charactersPerChapter = 3000}).text;
        QFile file(folder + u"书.txt"_s);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(EncodeCodePage(text)) > 0);
        file.close();
        const BookRequest request{folder, u"书.txt"_s, {}, {}, {}, {}, false};
        QStringList sent;
        const std::optional<OpenBook> first = LoadWith(request, sent);
        QVERIFY(first.has_value());
        const int chapter = 150;
        BookRecord record;
        record.size = first->fileSize;
        record.modified = first->fileModified;
        record.chapter = chapter;
        record.chapterTitle = first->ChapterTitle(chapter);
        record.filePlace = first->FilePlaceOf(chapter, 0).value_or(FilePlace{});
        if (chapterInserted) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(EncodeCodePage(text.insert(first->ChapterRange(3)->start, u"第三百章 新来的\r\n他说。\r\n"_s)));
            file.close();
        }

        BookRequest again = request;
        again.previewOf = record;
        sent.clear();
        const std::optional<OpenBook> book = LoadWith(again, sent);
        QVERIFY(book.has_value());
        const QStringList expected = chapterInserted
            ? QStringList{u"book"_s}
            : QStringList{u"preview: 书.txt "_s + record.chapterTitle, u"book"_s};
        QCOMPARE(sent, expected);
        QCOMPARE(book->ChapterTitle(book->ResolveChapter(chapter, record.chapterTitle)), record.chapterTitle);
    }

    void highlight_isTheBookHandedOver_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<bool>>("waits");
        QTest::addColumn<int>("shown"); // -1: whichever the timing left on screen
        QTest::newRow("big, then small at once") << QList<int>{0, 1} << QList<bool>{false, true} << 1;
        QTest::newRow("small, then big at once") << QList<int>{1, 0} << QList<bool>{false, true} << 0;
        QTest::newRow("held down key") << QList<int>{0, 1, 2, 0, 1, 2}
                                       << QList<bool>{false, false, false, false, false, true} << 2;
        QTest::newRow("the same book twice") << QList<int>{2, 2} << QList<bool>{false, true} << 2;
        QTest::newRow("shown, then a directory") << QList<int>{1, 3} << QList<bool>{true, true} << 1;
        QTest::newRow("big, then a directory at once") << QList<int>{0, 3} << QList<bool>{false, true} << -1;
    }

    void highlight_isTheBookHandedOver()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QList<bool>, waits);
        QFETCH(int, shown);
        const QStringList names{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s};
        SessionFixture reader;
        reader.AddBook(names[0],
                       EncodeCodePage(GenerateNovel({.seed = 1, .chapters = 300, .charactersPerChapter = 10000}).text));
        reader.AddBook(names[1], EncodeCodePage(u"小\r\n第一章 甲\r\n乙"_s));
        reader.AddBook(names[2],
                       EncodeCodePage(GenerateNovel({.seed = 2, .chapters = 50, .charactersPerChapter = 10000}).text));
        QVERIFY(QDir(reader.BookFolder()).mkdir(names[3]));
        reader.ListBooks();
        for (qsizetype i = 0; i < clicks.size(); ++i) {
            reader.Session().OnBookSelected(clicks[i]); // as the user does
            if (waits[i])
                reader.WaitForLoads();
        }
        const QString &open = reader.Session().Book().fileName;
        if (shown >= 0)
            QCOMPARE(open, names[shown]);
        QCOMPARE(reader.BookShelf().HighlightedRow(), int(names.indexOf(open)));
        QVERIFY(!reader.BookShelf().IsLoading());
    }
};

FOLIVAR_TEST(BookLoaderTest)
#include "BookLoaderTest.moc"
