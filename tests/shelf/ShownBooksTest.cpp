#include "shelf/ShownBooks.h"
#include "core/BookKey.h"
#include "core/BookLibrary.h"
#include "support/SessionFixture.h"
#include "support/TestRegistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The names the book list shows, top to bottom.
QStringList ShownNames(Shelf &shelf)
{
    QStringList names;
    for (int row = 0; row < shelf.Shown().rowCount(); ++row)
        names << shelf.Books().Entry(shelf.Shown().SourceRow(row));
    return names;
}

// Lets the clock move on, so that the next file comes later than the last.
void NextMillisecond()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QTRY_VERIFY(QDateTime::currentMSecsSinceEpoch() > now + 1);
}

// Books written in the order b, d, a, c, sizes a 30, b 10, c 30, d 20 bytes;
// c read last, b and d at one time, a never.
void WriteOrderedLibrary(SessionFixture &reader)
{
    const QList<std::pair<QString, int>> files{{u"b.txt"_s, 10}, {u"d.txt"_s, 20}, {u"a.txt"_s, 30}, {u"c.txt"_s, 30}};
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-1);
    for (int i = 0; i < files.size(); ++i) {
        reader.AddBook(files[i].first, QByteArray(files[i].second, 'x'));
        QFile file(reader.BookFolder() + files[i].first);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(start.addSecs(qint64(i) * 60), QFileDevice::FileModificationTime));
        NextMillisecond();
    }
    for (const auto &[name, lastRead] : {std::pair{u"b.txt"_s, 100}, {u"c.txt"_s, 300}, {u"d.txt"_s, 100}}) {
        BookRecord record;
        record.lastRead = lastRead;
        reader.Store().Put(BookKey(reader.BookFolder(), name), record);
    }
}

// The shelf's entries, top to bottom.
QStringList ListedEntries(const Shelf &shelf)
{
    QStringList entries;
    for (int row = 0; row < shelf.Books().Count(); ++row)
        entries << shelf.Books().Entry(row);
    return entries;
}

// Writes the book, its folders made first.
void AddBookIn(SessionFixture &reader, const QString &entry, const QByteArray &bytes)
{
    QVERIFY(QDir(reader.BookFolder()).mkpath(FolderOfEntry(entry).isEmpty() ? u"."_s : FolderOfEntry(entry)));
    reader.AddBook(entry, bytes);
}

} // namespace

class ShownBooksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filter_showsTheNamesHoldingIt_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        const QStringList all{u"Alpha.txt"_s, u"bravo.txt"_s, u"长安.txt"_s, u"長門說書.txt"_s, u"门客.txt"_s};
        QTest::newRow("empty: every book") << QString() << all;
        QTest::newRow("simplified finds traditional") << u"长门"_s << QStringList{u"長門說書.txt"_s};
        QTest::newRow("traditional finds simplified") << u"門客"_s << QStringList{u"门客.txt"_s};
        QTest::newRow("one character, both scripts") << u"门"_s << QStringList{u"長門說書.txt"_s, u"门客.txt"_s};
        QTest::newRow("ascii, other case") << u"ALPHA"_s << QStringList{u"Alpha.txt"_s};
        QTest::newRow("ascii, part of several") << u"A"_s << QStringList{u"Alpha.txt"_s, u"bravo.txt"_s};
        QTest::newRow("extension matches all") << u".TXT"_s << all;
        QTest::newRow("nothing holds it") << u"书库"_s << QStringList{};
    }

    void filter_showsTheNamesHoldingIt()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        SessionFixture reader;
        for (const QString &name : {u"长安.txt"_s, u"Alpha.txt"_s, u"長門說書.txt"_s, u"门客.txt"_s, u"bravo.txt"_s})
            reader.AddBook(name, "x");
        reader.ListBooks();
        Shelf &shelf = reader.BookShelf();
        const QStringList listed = ShownNames(shelf);
        shelf.Shown().SetFilter(filter);
        QStringList names = ShownNames(shelf);
        names.sort();
        shown.sort();
        QCOMPARE(names, shown);
        // The shelf's own rows stay as listed.
        shelf.Shown().SetFilter(QString());
        QCOMPARE(ShownNames(shelf), listed);
    }

    void order_sortsAndKeepsTiesAsListed_data()
    {
        QTest::addColumn<BookOrder>("order");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("name") << BookOrder::Name << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s};
        QTest::newRow("last read, never read last")
            << BookOrder::LastRead << QStringList{u"c.txt"_s, u"b.txt"_s, u"d.txt"_s, u"a.txt"_s};
        QTest::newRow("size, largest first")
            << BookOrder::Size << QStringList{u"a.txt"_s, u"c.txt"_s, u"d.txt"_s, u"b.txt"_s};
        QTest::newRow("added, newest first")
            << BookOrder::Added << QStringList{u"c.txt"_s, u"a.txt"_s, u"d.txt"_s, u"b.txt"_s};
    }

    void order_sortsAndKeepsTiesAsListed()
    {
        QFETCH(BookOrder, order);
        QFETCH(QStringList, shown);
        SessionFixture reader;
        WriteOrderedLibrary(reader);
        reader.ListBooks();
        Shelf &shelf = reader.BookShelf();
        shelf.Shown().SetOrder(order);
        QCOMPARE(ShownNames(shelf), shown);
        for (int row = 0; row < shown.size(); ++row) {
            QCOMPARE(shelf.Shown().ShownRow(shelf.Shown().SourceRow(row)), row);
            QCOMPARE(shelf.Books().Entry(row), QStringList({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s})[row]);
        }
        // Narrowed and widened again, the order holds.
        shelf.Shown().SetFilter(u"d"_s);
        QCOMPARE(ShownNames(shelf), QStringList{u"d.txt"_s});
        shelf.Shown().SetFilter(QString());
        QCOMPARE(ShownNames(shelf), shown);
    }

    void subfolders_groupTheirBooks_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<BookOrder>("order");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("by name") << QString() << BookOrder::Name
                                 << QStringList{u"顶.txt"_s,      u"玄幻/"_s,        u"玄幻/乙.txt"_s,
                                                u"玄幻/甲.txt"_s, u"玄幻/仙侠/"_s,   u"玄幻/仙侠/同名.txt"_s,
                                                u"都市/"_s,       u"都市/同名.txt"_s};
        QTest::newRow("by size within each folder")
            << QString() << BookOrder::Size << QStringList{u"顶.txt"_s,      u"玄幻/"_s,        u"玄幻/甲.txt"_s,
                                                           u"玄幻/乙.txt"_s, u"玄幻/仙侠/"_s,   u"玄幻/仙侠/同名.txt"_s,
                                                           u"都市/"_s,       u"都市/同名.txt"_s};
        QTest::newRow("a folder's row with its books that match")
            << u"同名"_s << BookOrder::Size
            << QStringList{u"玄幻/仙侠/"_s, u"玄幻/仙侠/同名.txt"_s, u"都市/"_s, u"都市/同名.txt"_s};
        QTest::newRow("no folder's row without its books") << u"顶"_s << BookOrder::Name << QStringList{u"顶.txt"_s};
        QTest::newRow("a folder's name alone matches nothing") << u"玄幻"_s << BookOrder::Name << QStringList{};
    }

    // Books of subfolders show under their folder's row, which opens nothing;
    // two books of one name in two folders keep two records.
    void subfolders_groupTheirBooks()
    {
        QFETCH(QString, filter);
        QFETCH(BookOrder, order);
        QFETCH(QStringList, shown);
        SessionFixture reader;
        for (const auto &[entry, size] : {std::pair{u"顶.txt"_s, 5},
                                          {u"玄幻/乙.txt"_s, 10},
                                          {u"玄幻/甲.txt"_s, 30},
                                          {u"玄幻/仙侠/同名.txt"_s, 1},
                                          {u"都市/同名.txt"_s, 20}})
            AddBookIn(reader, entry, QByteArray(size, 'x'));
        BookRecord record;
        record.progress = 5000;
        reader.Store().Put(BookKey(reader.BookFolder() + u"都市"_s, u"同名.txt"_s), record);
        reader.ListBooks();
        Shelf &shelf = reader.BookShelf();
        shelf.Shown().SetOrder(order);
        shelf.Shown().SetFilter(filter);
        QCOMPARE(ShownNames(shelf), shown);

        const BookListModel &books = shelf.Books();
        const int folderRow = books.RowOf(u"都市/"_s);
        QCOMPARE(books.index(folderRow).data().toString(), u"都市"_s);
        QVERIFY(!books.flags(books.index(folderRow)).testFlag(Qt::ItemIsSelectable));
        QVERIFY(!shelf.OpenBookAt(folderRow));
        QCOMPARE(books.index(folderRow + 1).data().toString(), u"同名.txt"_s);
        QCOMPARE(books.index(folderRow + 1).data(BookListModel::kProgressRole).toString(), u"50.0 %"_s);
        QCOMPARE(books.index(books.RowOf(u"玄幻/仙侠/同名.txt"_s)).data(BookListModel::kProgressRole).toString(),
                 u"新"_s);
    }

    // Books copied in, removed and put in a new subfolder show without a
    // listing asked for; the open book keeps its row and the highlight while
    // its file is gone, and leaves the list once another book is open.
    void watch_followsTheFolder_keepingTheOpenBook()
    {
        SessionFixture reader;
        const QByteArray book = "第一章 开始\n正文\n";
        for (const QString &entry : {u"a.txt"_s, u"b.txt"_s})
            AddBookIn(reader, entry, book);
        reader.ListBooks();
        reader.OpenBookAt(1);
        Shelf &shelf = reader.BookShelf();
        AddBookIn(reader, u"0.txt"_s, book);
        QTRY_COMPARE(ListedEntries(shelf), QStringList({u"0.txt"_s, u"a.txt"_s, u"b.txt"_s}));
        QCOMPARE(shelf.OpenRow(), 2);
        QCOMPARE(shelf.HighlightedRow(), 2);

        AddBookIn(reader, u"新/c.txt"_s, book);
        QTRY_COMPARE(ListedEntries(shelf), QStringList({u"0.txt"_s, u"a.txt"_s, u"b.txt"_s, u"新/"_s, u"新/c.txt"_s}));
        AddBookIn(reader, u"新/d.txt"_s, book);
        QVERIFY(QFile::remove(reader.BookFolder() + u"b.txt"_s));
        QTRY_COMPARE(ListedEntries(shelf),
                     QStringList({u"0.txt"_s, u"a.txt"_s, u"b.txt"_s, u"新/"_s, u"新/c.txt"_s, u"新/d.txt"_s}));
        QCOMPARE(shelf.OpenRow(), 2);
        QCOMPARE(reader.Session().Book().fileName, u"b.txt"_s);

        reader.OpenBookAt(shelf.Books().RowOf(u"新/c.txt"_s));
        QCOMPARE(reader.Session().Book().fileName, u"c.txt"_s);
        QCOMPARE(ListedEntries(shelf), QStringList({u"0.txt"_s, u"a.txt"_s, u"新/"_s, u"新/c.txt"_s, u"新/d.txt"_s}));
        QCOMPARE(shelf.OpenRow(), 3);
        QCOMPARE(shelf.HighlightedRow(), 3);
    }

    void progress_tellsTheRecord_andFollowsItsChanges_data()
    {
        QTest::addColumn<std::optional<int>>("progress"); // nullopt: no record
        QTest::addColumn<QString>("label");
        // The labels themselves are ReadingTimeTest's table; here, that the
        // row reads its book's record, and reads it again when told.
        QTest::newRow("never opened") << std::optional<int>() << u"新"_s;
        QTest::newRow("part way") << std::optional<int>(3750) << u"37.5 %"_s;
    }

    void progress_tellsTheRecord_andFollowsItsChanges()
    {
        QFETCH(std::optional<int>, progress);
        QFETCH(QString, label);
        SessionFixture reader;
        reader.AddBook(u"书.txt"_s, "x");
        reader.ListBooks();
        const BookListModel &books = reader.BookShelf().Books();
        const QModelIndex row = books.index(0);
        QCOMPARE(row.data(BookListModel::kProgressRole).toString(), u"新"_s);
        if (progress) {
            BookRecord record;
            record.progress = *progress;
            record.lastRead = 1;
            record.chapterTitle = u"第三章 雨"_s;
            reader.Store().Put(BookKey(reader.BookFolder(), u"书.txt"_s), record);
        }
        reader.BookShelf().Books().RefreshRow(0);
        QCOMPARE(row.data(BookListModel::kProgressRole).toString(), label);
        QCOMPARE(row.data(Qt::ToolTipRole).toString().contains(u"第三章 雨"_s), progress.has_value());
    }
};

FOLIVAR_TEST(ShownBooksTest)
#include "ShownBooksTest.moc"
