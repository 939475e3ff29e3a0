#include "shelf/LibrarySearch.h"
#include "core/BookKey.h"
#include "core/CodePage.h"
#include "support/SessionFixture.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Each book's row and the chapters and places of the occurrences under it,
// whatever order the books were done in.
using Groups = QMap<QString, QList<std::pair<int, qsizetype>>>;

Groups GroupsOf(const LibraryHitsModel &results)
{
    Groups groups;
    QString book;
    for (int row = 0; row < results.Count(); ++row) {
        if (const std::optional<LibraryPlace> place = results.PlaceAt(row))
            groups[book].append({place->chapter, place->position});
        else
            groups[book = results.Text(row)];
    }
    return groups;
}

// A book in GB18030 (its record says so), one in UTF-8, and a "book" that is
// a folder.
QList<LibraryBook> WriteLibrary(SessionFixture &reader)
{
    reader.AddBook(u"a.txt"_s, EncodeCodePage(u"甲书\r\n第一章 开端\r\n他的头发很长。\r\n"_s));
    BookRecord record;
    record.encoding = u"GB18030"_s;
    reader.Store().Put(BookKey(reader.BookFolder(), u"a.txt"_s), record);
    reader.AddBook(u"b.txt"_s, u"乙书\n第一章 起\n頭髮\n第二章 承\n头发与头发\n"_s.toUtf8());
    QDir(reader.BookFolder()).mkdir(u"c.txt"_s);
    return {{reader.BookFolder(), u"a.txt"_s}, {reader.BookFolder(), u"b.txt"_s}, {reader.BookFolder(), u"c.txt"_s}};
}

} // namespace

class LibrarySearchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void search_groupsHitsByBook_andListsTheUnreadable()
    {
        SessionFixture reader;
        LibrarySearch search(reader.Store());
        QSignalSpy finished(&search, &LibrarySearch::finished);
        search.Start(u"头发"_s, WriteLibrary(reader));
        QVERIFY(search.IsRunning());
        QVERIFY(finished.wait());

        const Groups expected{{u"a.txt　（1 处）"_s, {{1, 10}}},
                              {u"b.txt　（3 处）"_s, {{1, 6}, {2, 6}, {2, 9}}},
                              {u"c.txt　无法读取"_s, {}}};
        QCOMPARE(GroupsOf(search.Results()), expected);
        QCOMPARE(search.Summary(), u"已查 3/3 本，找到 4 处"_s);
        QVERIFY(!search.IsRunning());
        const LibraryHitsModel &results = search.Results();
        const std::optional<LibraryPlace> place = results.PlaceAt(results.RowOf(u"b.txt　（3 处）"_s) + 1);
        QVERIFY(place);
        QCOMPARE(place->path, reader.BookFolder() + u"b.txt"_s);
        QCOMPARE(place->length, 2);
    }

    void newSearch_replacesTheOldOnesResults_andStopKeepsWhatCameIn()
    {
        SessionFixture reader;
        const QList<LibraryBook> books = WriteLibrary(reader);
        LibrarySearch search(reader.Store());
        QSignalSpy finished(&search, &LibrarySearch::finished);
        search.Start(u"头发"_s, books);
        search.Start(u"承"_s, books);
        QVERIFY(finished.wait());
        QCOMPARE(finished.count(), 1);
        const Groups expected{{u"b.txt　（1 处）"_s, {{2, 4}}}, {u"c.txt　无法读取"_s, {}}};
        QCOMPARE(GroupsOf(search.Results()), expected);

        search.Start(u"头发"_s, books);
        search.Stop();
        QVERIFY(!search.IsRunning());
        QVERIFY(search.Summary().endsWith(u"（已停止）"_s));
        search.Start(QString(), books);
        QCOMPARE(search.Results().Count(), 0);
        QVERIFY(!search.IsRunning());
    }
};

FOLIVAR_TEST(LibrarySearchTest)
#include "LibrarySearchTest.moc"
